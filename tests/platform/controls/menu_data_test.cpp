// Menu contents: building, finding items by command and position, states, strings, item
// information, destruction and refused handles.
#include "tests/platform/controls/menu_fixture.h"

namespace menu_test {
namespace {

std::string text_of(HMENU m, UINT item, UINT flags) {
  char buf[64] = {};
  GetMenuStringA(m, item, buf, sizeof buf, flags);
  return buf;
}

TEST(MenuData, ItemsByPositionAndCommandThroughSubMenus) {
  HMENU sub = CreatePopupMenu();
  AppendMenuA(sub, MF_STRING, 20, "Twenty");
  HMENU m = CreatePopupMenu();
  AppendMenuA(m, MF_STRING, 10, "Ten");
  AppendMenuA(m, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(m, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "Sub");
  ASSERT_TRUE(InsertMenuA(m, 0, MF_BYPOSITION | MF_STRING, 5, "Five"));
  ASSERT_TRUE(InsertMenuA(m, 10, MF_BYCOMMAND | MF_STRING | MF_CHECKED, 7, "Seven"));  // before Ten
  EXPECT_EQ(GetMenuItemCount(m), 5);
  EXPECT_EQ(GetMenuItemID(m, 0), 5u);
  EXPECT_EQ(GetMenuItemID(m, 1), 7u);
  EXPECT_EQ(GetMenuItemID(m, 4), static_cast<UINT>(-1)) << "a sub-menu item has no command";
  EXPECT_EQ(GetMenuItemID(m, 9), static_cast<UINT>(-1));
  EXPECT_EQ(GetSubMenu(m, 4), sub);
  EXPECT_EQ(GetSubMenu(m, 0), nullptr);
  EXPECT_EQ(text_of(m, 20, MF_BYCOMMAND), "Twenty") << "found inside the sub-menu";
  EXPECT_EQ(text_of(m, 2, MF_BYPOSITION), "Ten");
  EXPECT_EQ(GetMenuStringA(m, 99, nullptr, 0, MF_BYCOMMAND), 0);
  char small[4];
  EXPECT_EQ(GetMenuStringA(m, 20, small, sizeof small, MF_BYCOMMAND), 3);
  EXPECT_STREQ(small, "Twe");

  EXPECT_EQ(GetMenuState(m, 7, MF_BYCOMMAND), MF_CHECKED);
  EXPECT_EQ(GetMenuState(m, 3, MF_BYPOSITION), MF_SEPARATOR);
  EXPECT_EQ(GetMenuState(m, 4, MF_BYPOSITION), MF_POPUP | (1u << 8));
  EXPECT_EQ(GetMenuState(m, 99, MF_BYCOMMAND), static_cast<UINT>(-1));
  EXPECT_EQ(CheckMenuItem(m, 7, MF_BYCOMMAND | MF_UNCHECKED), MF_CHECKED);
  EXPECT_EQ(CheckMenuItem(m, 20, MF_BYCOMMAND | MF_CHECKED), MF_UNCHECKED);
  EXPECT_EQ(GetMenuState(sub, 0, MF_BYPOSITION), MF_CHECKED);
  EXPECT_EQ(EnableMenuItem(m, 10, MF_BYCOMMAND | MF_GRAYED), MF_ENABLED);
  EXPECT_EQ(EnableMenuItem(m, 10, MF_BYCOMMAND | MF_ENABLED), static_cast<BOOL>(MF_GRAYED));
  EXPECT_EQ(EnableMenuItem(m, 99, MF_BYCOMMAND), -1);

  // ModifyMenuA replaces the whole item.
  ASSERT_TRUE(ModifyMenuA(m, 0, MF_BYPOSITION | MF_STRING | MF_GRAYED, 55, "Fifty-five"));
  EXPECT_EQ(GetMenuItemID(m, 0), 55u);
  EXPECT_EQ(GetMenuState(m, 55, MF_BYCOMMAND), MF_GRAYED);
  EXPECT_FALSE(ModifyMenuA(m, 99, MF_BYCOMMAND, 1, "x"));

  // RemoveMenu keeps a sub-menu alive, DeleteMenu destroys it.
  ASSERT_TRUE(RemoveMenu(m, 4, MF_BYPOSITION));
  EXPECT_TRUE(IsMenu(sub));
  AppendMenuA(m, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "Sub");
  ASSERT_TRUE(DeleteMenu(m, 4, MF_BYPOSITION));
  EXPECT_FALSE(IsMenu(sub));
  EXPECT_FALSE(DeleteMenu(m, 4, MF_BYPOSITION)) << "nothing left at that position";
  EXPECT_EQ(GetMenuItemCount(m), 4);
  DestroyMenu(m);
}

TEST(MenuData, ItemInfoAndRadioChecks) {
  HMENU m = CreatePopupMenu();
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING | MIIM_ID | MIIM_STATE | MIIM_DATA | MIIM_FTYPE;
  info.fType = MFT_STRING;
  info.fState = MFS_CHECKED;
  info.wID = 31;
  info.dwItemData = 0xBEEF;
  char caption[] = "&One";
  info.dwTypeData = caption;
  ASSERT_TRUE(InsertMenuItemA(m, 0, TRUE, &info));
  AppendMenuA(m, MF_STRING, 32, "Two");
  AppendMenuA(m, MF_STRING, 33, "Three");

  MENUITEMINFOA out{};
  out.cbSize = sizeof out;
  out.fMask = MIIM_STRING | MIIM_ID | MIIM_STATE | MIIM_DATA;
  char buf[16] = {};
  out.dwTypeData = buf;
  out.cch = sizeof buf;
  ASSERT_TRUE(GetMenuItemInfoA(m, 31, FALSE, &out));
  EXPECT_EQ(out.wID, 31u);
  EXPECT_EQ(out.fState, MFS_CHECKED);
  EXPECT_EQ(out.dwItemData, 0xBEEFu);
  EXPECT_STREQ(buf, "&One");
  EXPECT_EQ(out.cch, 4u);
  out.dwTypeData = nullptr;
  out.cch = 0;
  ASSERT_TRUE(GetMenuItemInfoA(m, 1, TRUE, &out));
  EXPECT_EQ(out.cch, 3u) << "length query";

  MENUITEMINFOA change{};
  change.cbSize = sizeof change;
  change.fMask = MIIM_STATE;
  change.fState = MFS_GRAYED;
  ASSERT_TRUE(SetMenuItemInfoA(m, 32, FALSE, &change));
  EXPECT_EQ(GetMenuState(m, 32, MF_BYCOMMAND), MF_GRAYED | MF_DISABLED);
  change.cbSize = 4;  // a size from nowhere
  EXPECT_FALSE(SetMenuItemInfoA(m, 32, FALSE, &change));
  change.cbSize = sizeof change;
  change.fMask = MIIM_SUBMENU;
  change.hSubMenu = reinterpret_cast<HMENU>(0x1);
  EXPECT_FALSE(SetMenuItemInfoA(m, 32, FALSE, &change)) << "not a menu";
  change.hSubMenu = m;
  EXPECT_FALSE(SetMenuItemInfoA(m, 32, FALSE, &change)) << "a menu cannot open itself";

  ASSERT_TRUE(CheckMenuRadioItem(m, 0, 2, 2, MF_BYPOSITION));
  EXPECT_EQ(GetMenuState(m, 0, MF_BYPOSITION) & MF_CHECKED, 0u);
  EXPECT_EQ(GetMenuState(m, 2, MF_BYPOSITION), MF_CHECKED | MFT_RADIOCHECK);
  EXPECT_FALSE(CheckMenuRadioItem(m, 0, 1, 2, MF_BYPOSITION)) << "outside the range";
  DestroyMenu(m);
}

TEST(MenuData, DestroyedHandlesAreRefusedEverywhere) {
  HMENU sub = CreatePopupMenu();
  HMENU m = CreateMenu();
  AppendMenuA(m, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "Sub");
  ASSERT_TRUE(DestroyMenu(m));
  EXPECT_FALSE(IsMenu(m));
  EXPECT_FALSE(IsMenu(sub)) << "sub-menus go with their menu";
  SetLastError(0);
  EXPECT_FALSE(DestroyMenu(m));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_MENU_HANDLE);
  EXPECT_FALSE(AppendMenuA(m, MF_STRING, 1, "x"));
  EXPECT_EQ(GetMenuItemCount(m), -1);
  EXPECT_EQ(GetMenuState(m, 0, MF_BYPOSITION), static_cast<UINT>(-1));
  EXPECT_EQ(GetSubMenu(m, 0), nullptr);
  EXPECT_EQ(CheckMenuItem(m, 0, MF_BYPOSITION), static_cast<DWORD>(-1));
  EXPECT_FALSE(IsMenu(nullptr));
  EXPECT_FALSE(IsMenu(reinterpret_cast<HMENU>(0x12345)));
  HMENU fresh = CreatePopupMenu();
  EXPECT_NE(fresh, m) << "handles are not reused";
  EXPECT_NE(fresh, sub);
  // A destroyed menu cannot become a sub-menu either.
  EXPECT_FALSE(AppendMenuA(fresh, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "gone"));
  EXPECT_FALSE(AppendMenuA(fresh, MF_POPUP, reinterpret_cast<UINT_PTR>(fresh), "self"));
  EXPECT_EQ(GetMenuItemCount(fresh), 0);
  DestroyMenu(fresh);
}

}  // namespace
}  // namespace menu_test
