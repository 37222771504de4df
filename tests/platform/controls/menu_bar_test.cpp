// Menu bars: the frame gives room to the bar, a click on a title opens its menu, the menu key
// navigates, and the system menu's Move item.
#include "platform/controls/menu_system.h"
#include "tests/platform/controls/menu_fixture.h"

namespace menu_test {
namespace {

class MenuBarTest : public MenuTest {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    GetClientRect(parent_, &before_);
    bar_ = CreateMenu();
    file_ = CreatePopupMenu();
    AppendMenuA(file_, MF_STRING, 11, "&Open\tCtrl+O");
    AppendMenuA(file_, MF_STRING, 12, "&Close");
    edit_ = CreatePopupMenu();
    AppendMenuA(edit_, MF_STRING, 21, "&Copy");
    AppendMenuA(edit_, MF_STRING, 22, "&Paste");
    AppendMenuA(bar_, MF_POPUP, reinterpret_cast<UINT_PTR>(file_), "&File");
    AppendMenuA(bar_, MF_POPUP, reinterpret_cast<UINT_PTR>(edit_), "&Edit");
    ASSERT_TRUE(SetMenu(parent_, bar_));
    menus_.push_back(bar_);
    idle();
    owner_log().messages.clear();
  }
  void TearDown() override {
    if (IsWindow(parent_)) SetMenu(parent_, nullptr);
    MenuTest::TearDown();
  }

  // Client point of the middle of bar item `index` (items are a few dozen pixels wide).
  POINT bar_point(int index) const {
    RECT w;
    GetWindowRect(parent_, &w);
    POINT c{0, 0};
    ClientToScreen(parent_, &c);
    int y = c.y - GetSystemMetrics(SM_CYMENU) / 2;
    return {c.x + 12 + index * 34, y};
  }

  RECT before_{};
  HMENU bar_ = nullptr, file_ = nullptr, edit_ = nullptr;
};

TEST_F(MenuBarTest, SetMenuGivesTheBarItsRowAndGetMenuAnswersIt) {
  RECT after;
  GetClientRect(parent_, &after);
  EXPECT_EQ(before_.bottom - after.bottom, GetSystemMetrics(SM_CYMENU));
  EXPECT_EQ(GetMenu(parent_), bar_);
  POINT p = bar_point(0);
  EXPECT_EQ(SendMessageA(parent_, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)), HTMENU);
  // The bar is drawn in the menu colour with the titles' ink on it.
  RECT w;
  GetWindowRect(parent_, &w);
  POINT c{0, 0};
  ClientToScreen(parent_, &c);
  HDC dc = GetWindowDC(parent_);
  int ink = 0, menu_colour = 0;
  for (int x = c.x - w.left; x < c.x - w.left + 60; ++x)
    for (int y = c.y - w.top - GetSystemMetrics(SM_CYMENU); y < c.y - w.top; ++y) {
      COLORREF px = GetPixel(dc, x, y);
      if (px == GetSysColor(COLOR_MENU)) ++menu_colour;
      if (px != CLR_INVALID && GetRValue(px) + GetGValue(px) + GetBValue(px) < 200) ++ink;
    }
  ReleaseDC(parent_, dc);
  EXPECT_GT(ink, 20);
  EXPECT_GT(menu_colour, 300);
  ASSERT_TRUE(SetMenu(parent_, nullptr));
  GetClientRect(parent_, &after);
  EXPECT_EQ(after.bottom, before_.bottom) << "the room comes back";
  EXPECT_EQ(GetMenu(parent_), nullptr);
  EXPECT_TRUE(IsMenu(bar_)) << "taking the bar off does not destroy it";
  HMENU gone = CreateMenu();
  DestroyMenu(gone);
  EXPECT_FALSE(SetMenu(parent_, gone));
  EXPECT_EQ(GetMenu(parent_), nullptr);
}

TEST_F(MenuBarTest, ClickOnTitleOpensItsMenuAndChoosingSendsTheCommand) {
  RECT shown{};
  POINT title = bar_point(1);
  steps({[&](HWND popup) {
    GetWindowRect(popup, &shown);
    hl::click(popup, item_point("ii", 1));
  }});
  hl::mouse_button(hl::Button::left, true, title);
  hl::mouse_button(hl::Button::left, false, title);
  idle();
  EXPECT_EQ(owner_log().commands(), (std::vector<WPARAM>{22}));
  POINT c{0, 0};
  ClientToScreen(parent_, &c);
  EXPECT_EQ(shown.top, c.y) << "the menu drops down right below the bar";
  EXPECT_LE(shown.left, title.x);
  EXPECT_FALSE(owner_log().ran_out);
  // The bar menu loop is announced as such.
  auto n = owner_log().notifications();
  ASSERT_FALSE(n.empty());
  EXPECT_EQ(n[0], WM_ENTERMENULOOP);
  for (const auto& s : owner_log().messages) {
    if (s.msg == WM_ENTERMENULOOP) {
      EXPECT_EQ(s.wp, static_cast<WPARAM>(FALSE));
    }
  }
}

TEST_F(MenuBarTest, HoverSwitchesBetweenOpenTitles) {
  POINT file = bar_point(0), edit = bar_point(1);
  std::vector<HMENU> opened;
  steps({[&](HWND) { hl::mouse_move(edit); }, [&](HWND popup) { hl::click(popup, item_point("ii", 0)); }});
  hl::mouse_button(hl::Button::left, true, file);
  hl::mouse_button(hl::Button::left, false, file);
  idle();
  for (const auto& s : owner_log().messages)
    if (s.msg == WM_INITMENUPOPUP) opened.push_back(reinterpret_cast<HMENU>(s.wp));
  EXPECT_EQ(opened, (std::vector<HMENU>{file_, edit_}));
  EXPECT_EQ(owner_log().commands(), (std::vector<WPARAM>{21}));
}

TEST_F(MenuBarTest, MenuKeyNavigatesWithArrowsAndMnemonics) {
  steps({[](HWND) {
    hl::key_press(VK_RIGHT);  // Edit highlighted
    hl::key_press(VK_DOWN);   // its menu opens, Copy selected
    hl::key_press(VK_DOWN);   // Paste
    hl::key_press(VK_RETURN);
  }});
  SendMessageA(parent_, WM_SYSCOMMAND, SC_KEYMENU, 0);
  idle();
  EXPECT_EQ(owner_log().commands(), (std::vector<WPARAM>{22}));

  owner_log() = OwnerLog{};
  steps({[](HWND) {
    hl::key_press('F');  // File opens
    hl::key_press('C');  // Close
  }});
  SendMessageA(parent_, WM_SYSCOMMAND, SC_KEYMENU, 0);
  idle();
  EXPECT_EQ(owner_log().commands(), (std::vector<WPARAM>{12}));

  owner_log() = OwnerLog{};
  steps({[](HWND) {
    hl::key_press(VK_DOWN);    // File's menu
    hl::key_press(VK_ESCAPE);  // back to the title
    hl::key_press(VK_ESCAPE);  // out of the bar
  }});
  SendMessageA(parent_, WM_SYSCOMMAND, SC_KEYMENU, 0);
  idle();
  EXPECT_TRUE(owner_log().commands().empty());
  EXPECT_FALSE(owner_log().ran_out) << "two escapes leave the bar";
}

TEST_F(MenuBarTest, TitleWithoutMenuIsACommandUnlessGrayed) {
  AppendMenuA(bar_, MF_STRING, 30, "&Help");
  AppendMenuA(bar_, MF_STRING | MF_GRAYED, 31, "&Never");
  DrawMenuBar(parent_);
  idle();
  // Bar items from the left: File, Edit, Help, Never; find Help by its hit on the bar.
  POINT help = bar_point(2), never = bar_point(3);
  hl::mouse_button(hl::Button::left, true, help);
  hl::mouse_button(hl::Button::left, false, help);
  idle();
  EXPECT_EQ(owner_log().commands(), (std::vector<WPARAM>{30}));

  owner_log() = OwnerLog{};
  steps({[](HWND) { hl::key_press(VK_ESCAPE); }});
  hl::mouse_button(hl::Button::left, true, never);
  hl::mouse_button(hl::Button::left, false, never);
  idle();
  EXPECT_TRUE(owner_log().commands().empty());

  owner_log() = OwnerLog{};
  steps({[](HWND) { hl::key_press('H'); }});
  SendMessageA(parent_, WM_SYSCOMMAND, SC_KEYMENU, 0);
  idle();
  EXPECT_EQ(owner_log().commands(), (std::vector<WPARAM>{30})) << "by its mnemonic";
}

TEST_F(MenuBarTest, SystemMenuHoldsTheStandardCommandsAndLosesMove) {
  HMENU sys = GetSystemMenu(parent_, FALSE);
  ASSERT_TRUE(IsMenu(sys));
  EXPECT_EQ(GetSystemMenu(parent_, FALSE), sys) << "one copy per window";
  EXPECT_EQ(GetMenuItemCount(sys), 7);
  const UINT ids[] = {SC_RESTORE, SC_MOVE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, 0, SC_CLOSE};
  for (int i = 0; i < 7; ++i) {
    if (ids[i]) {
      EXPECT_EQ(GetMenuItemID(sys, i), ids[i]) << i;
    }
  }
  char text[64] = {};
  GetMenuStringA(sys, SC_CLOSE, text, sizeof text, MF_BYCOMMAND);
  EXPECT_EQ(std::string(text), ansi("关闭(&C)\tAlt+F4"));
  GetMenuStringA(sys, SC_MOVE, text, sizeof text, MF_BYCOMMAND);
  EXPECT_EQ(std::string(text), ansi("移动(&M)"));

  EXPECT_TRUE(platform::controls::menu::system_command_allowed(parent_, SC_MOVE));
  ASSERT_TRUE(DeleteMenu(sys, SC_MOVE, MF_BYCOMMAND));
  EXPECT_EQ(GetMenuState(sys, SC_MOVE, MF_BYCOMMAND), static_cast<UINT>(-1));
  EXPECT_FALSE(platform::controls::menu::system_command_allowed(parent_, SC_MOVE));
  EXPECT_TRUE(platform::controls::menu::system_command_allowed(parent_, SC_CLOSE));
  EnableMenuItem(sys, SC_SIZE, MF_BYCOMMAND | MF_GRAYED);
  EXPECT_FALSE(platform::controls::menu::system_command_allowed(parent_, SC_SIZE));

  // Its choices arrive as WM_SYSCOMMAND.
  steps({[](HWND) { hl::key_press('N'); }});
  TrackPopupMenu(sys, 0, 100, 100, 0, parent_, nullptr);
  idle();
  bool minimise = false;
  for (const auto& s : owner_log().messages)
    minimise = minimise || (s.msg == WM_SYSCOMMAND && s.wp == SC_MINIMIZE);
  EXPECT_TRUE(minimise);
  EXPECT_TRUE(owner_log().commands().empty());

  EXPECT_EQ(GetSystemMenu(parent_, TRUE), nullptr);
  EXPECT_FALSE(IsMenu(sys)) << "reverting throws the copy away";
  EXPECT_TRUE(platform::controls::menu::system_command_allowed(parent_, SC_MOVE));
}

TEST_F(MenuBarTest, AltAloneAndF10OpenTheBarButAltChordsDoNot) {
  SetFocus(parent_);
  steps({[](HWND) {
    hl::key_press(VK_DOWN);  // File's menu opens on its first item
    hl::key_press(VK_RETURN);
  }});
  hl::key_press(VK_MENU);
  idle();
  EXPECT_EQ(owner_log().commands(), (std::vector<WPARAM>{11})) << "Alt pressed and released alone";

  owner_log() = OwnerLog{};
  steps({[](HWND) {
    hl::key_press(VK_RIGHT);
    hl::key_press(VK_DOWN);
    hl::key_press(VK_RETURN);
  }});
  hl::key_press(VK_F10);
  idle();
  EXPECT_EQ(owner_log().commands(), (std::vector<WPARAM>{21})) << "F10";

  owner_log() = OwnerLog{};
  hl::key_down(VK_MENU);
  hl::key_press('Q');
  hl::key_up(VK_MENU);
  idle();
  EXPECT_TRUE(owner_log().commands().empty());
  EXPECT_FALSE(owner_log().ran_out) << "Alt with another key is a chord, not the menu key";
  for (const auto& m : owner_log().messages) EXPECT_NE(m.msg, static_cast<UINT>(WM_ENTERMENULOOP));
}

TEST_F(MenuBarTest, CaptionDragMovesOnlyWhileTheSystemMenuOffersMove) {
  auto drag_caption = [&](int dx) {
    RECT w;
    GetWindowRect(parent_, &w);
    POINT grab{w.left + 60, w.top + GetSystemMetrics(SM_CYCAPTION) / 2 + 2};
    hl::mouse_move(grab);
    hl::mouse_button(hl::Button::left, true, grab);
    hl::mouse_move({grab.x + dx / 2, grab.y});
    hl::mouse_move({grab.x + dx, grab.y});
    hl::mouse_button(hl::Button::left, false, {grab.x + dx, grab.y});
    idle();
    RECT after;
    GetWindowRect(parent_, &after);
    return after.left - w.left;
  };
  EXPECT_EQ(drag_caption(30), 30);
  ASSERT_TRUE(DeleteMenu(GetSystemMenu(parent_, FALSE), SC_MOVE, MF_BYCOMMAND));
  EXPECT_EQ(drag_caption(30), 0) << "Move was taken out of the system menu";
}

}  // namespace
}  // namespace menu_test
