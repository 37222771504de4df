#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/api/input.h"
#include "platform/api/menu.h"
#include "platform/api/user.h"
#include "tests/ui/support/test_unit_types.h"
#include "tests/ui/support/ui_host.h"
#include "ui/templates/window_collection.h"
#include "ui/state/hotkeys.h"
#include "ui/state/menu_builder.h"
#include "ui/windows/window_builder.h"

namespace {

using namespace ui_test;
using ui::templates::kMenuChecked;
using ui::templates::kMenuDisabled;
using ui::templates::kMenuHidden;

constexpr std::uint32_t kWindow = 0x52000001;
constexpr std::uint32_t kOwn = 0x06000001;
constexpr std::uint32_t kCtrlO = 15;
constexpr std::uint32_t kF1 = 27;
constexpr std::uint32_t kDel = 76;

std::string item_text(HMENU menu, UINT position) {
  char buffer[128] = {};
  GetMenuStringA(menu, position, buffer, sizeof buffer, MF_BYPOSITION);
  return buffer;
}

std::vector<ACCEL> accelerators_of(HACCEL table) {
  if (table == nullptr) return {};
  std::vector<ACCEL> entries(static_cast<std::size_t>(CopyAcceleratorTableA(table, nullptr, 0)));
  CopyAcceleratorTableA(table, entries.data(), static_cast<int>(entries.size()));
  return entries;
}

class MenuBar : public ::testing::Test {
 protected:
  void SetUp() override { reset_fake_log(); }
  void TearDown() override {
    host_.reset();
    reset_fake_log();
  }

  ui::templates::WindowTemplate& window() { return *window_; }

  void start() {
    host_ = std::make_unique<UiHost>(templates_.block(), nullptr,
                                     std::vector<runtime::LibraryRecord>{fake_unit_library()});
    record_events();
    ASSERT_TRUE(ui::load_window(kWindow));
  }

  ui::templates::WindowSlots& slots() { return ui::templates::window_collection().slots(0); }
  ui::templates::MenuRecord& record(std::size_t unit) {
    return ui::templates::window_collection().window(0).units[unit].menu();
  }

  FakeTemplates templates_;
  ui::templates::WindowTemplate* window_ = &templates_.add_window(kWindow, kOwn);
  std::unique_ptr<UiHost> host_;
};

// This program's own menu: one hidden top-level item whose item serves the popup menu command.
TEST_F(MenuBar, AHiddenTopLevelItemLeavesTheBarButStillServesThePopup) {
  templates_.add_menu(window(), 0x26000001, "menu", 0, kMenuHidden);
  templates_.add_menu(window(), 0x26000002, "Download", 1, 0, kCtrlO);
  templates_.add_menu(window(), 0x26000003, "Secret", 1, kMenuHidden, kF1);
  templates_.add_menu(window(), 0x26000004, "Greyed", 1, kMenuDisabled);
  start();

  EXPECT_EQ(GetMenu(ui::window_native(0)), nullptr) << "no item left for a bar";
  EXPECT_EQ(slots().menu_bar, nullptr);
  EXPECT_EQ(slots().accelerators, nullptr) << "nothing under a hidden item has a hotkey";

  HMENU popup = ui::build_popup_menu(0, 1);
  ASSERT_NE(popup, nullptr);
  ASSERT_EQ(GetMenuItemCount(popup), 2);
  EXPECT_EQ(item_text(popup, 0), "Download\tCtrl+O");
  EXPECT_EQ(GetMenuItemID(popup, 0), 20001u);
  EXPECT_EQ(item_text(popup, 1), "Greyed");
  EXPECT_EQ(GetMenuItemID(popup, 1), 20003u) << "the hidden item still used up its id";
  EXPECT_TRUE(GetMenuState(popup, 1, MF_BYPOSITION) & MF_GRAYED);
  DestroyMenu(popup);

  EXPECT_EQ(ui::build_popup_menu(0, 0), nullptr) << "not a menu record";
  EXPECT_EQ(ui::build_popup_menu(3, 1), nullptr) << "no such window";
}

TEST_F(MenuBar, RecordsBecomeTheBarWithStatesSubMenusAndAccelerators) {
  templates_.add_menu(window(), 0x26000001, "File", 0);                        // 20000
  templates_.add_menu(window(), 0x26000002, "Open", 1, kMenuChecked, kCtrlO);  // 20001
  templates_.add_menu(window(), 0x26000003, "-", 1);                           // 20002
  templates_.add_menu(window(), 0x26000004, "Recent", 1);                      // 20003
  templates_.add_menu(window(), 0x26000005, "a.lrc", 2);                       // 20004
  templates_.add_menu(window(), 0x26000006, "Quit", 1, kMenuDisabled);         // 20005
  templates_.add_menu(window(), 0x26000007, "Hidden", 1, kMenuHidden, kF1);    // 20006
  templates_.add_menu(window(), 0x26000008, "Under hidden", 2, 0, kF1 + 1);    // 20007
  templates_.add_menu(window(), 0x26000009, "Edit", 0, kMenuDisabled);         // 20008
  templates_.add_menu(window(), 0x2600000A, "Delete", 1, 0, kDel);             // 20009
  start();

  HMENU bar = GetMenu(ui::window_native(0));
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar, slots().menu_bar);
  ASSERT_EQ(GetMenuItemCount(bar), 2);
  EXPECT_EQ(item_text(bar, 0), "File");
  EXPECT_EQ(item_text(bar, 1), "Edit");
  EXPECT_TRUE(GetMenuState(bar, 1, MF_BYPOSITION) & MF_GRAYED);

  HMENU file = GetSubMenu(bar, 0);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(slots().menu_handles[1], file);
  ASSERT_EQ(GetMenuItemCount(file), 4) << "Open, separator, Recent, Quit";
  EXPECT_EQ(item_text(file, 0), "Open\tCtrl+O");
  EXPECT_EQ(GetMenuItemID(file, 0), 20001u);
  EXPECT_TRUE(GetMenuState(file, 0, MF_BYPOSITION) & MF_CHECKED);
  EXPECT_TRUE(GetMenuState(file, 1, MF_BYPOSITION) & MF_SEPARATOR);
  HMENU recent = GetSubMenu(file, 2);
  ASSERT_NE(recent, nullptr);
  EXPECT_EQ(GetMenuItemID(recent, 0), 20004u);
  EXPECT_EQ(item_text(file, 3), "Quit");
  EXPECT_TRUE(GetMenuState(file, 3, MF_BYPOSITION) & MF_GRAYED);
  EXPECT_EQ(GetMenuItemID(GetSubMenu(bar, 1), 0), 20009u);

  const std::vector<ACCEL> table = accelerators_of(slots().accelerators);
  ASSERT_EQ(table.size(), 2u) << "hidden items and their sub-items give none";
  EXPECT_EQ(table[0].fVirt, FCONTROL | FVIRTKEY | FNOINVERT);
  EXPECT_EQ(table[0].key, 'O');
  EXPECT_EQ(table[0].cmd, 20001);
  EXPECT_EQ(table[1].fVirt, FVIRTKEY | FNOINVERT);
  EXPECT_EQ(table[1].key, VK_DELETE);
  EXPECT_EQ(table[1].cmd, 20009);
}

TEST_F(MenuBar, ACommandRaisesTheSelectionEventOfItsRecord) {
  templates_.add_menu(window(), 0x26000001, "File", 0);
  templates_.add_menu(window(), 0x26000002, "Open", 1);
  templates_.add_menu(window(), 0x26000003, "Close", 1);
  start();
  fake_log().events.clear();

  SendMessageA(ui::window_native(0), WM_COMMAND, 20002, 0);
  ASSERT_EQ(fake_log().events.size(), 1u);
  EXPECT_EQ(fake_log().events[0].window_id, kWindow);
  EXPECT_EQ(fake_log().events[0].unit_id, 0x26000003u);
  EXPECT_EQ(fake_log().events[0].event, 0);

  EXPECT_TRUE(ui::dispatch_menu_command(0, 20000));
  EXPECT_EQ(fake_log().events.back().unit_id, 0x26000001u);
  EXPECT_FALSE(ui::dispatch_menu_command(0, 20003)) << "past the last record";
  EXPECT_FALSE(ui::dispatch_menu_command(0, 19999));
  EXPECT_FALSE(ui::dispatch_menu_command(5, 20000));
  EXPECT_EQ(fake_log().events.size(), 2u);
  EXPECT_EQ(ui::menu_command_id(0, 2), 20001u);
  EXPECT_EQ(ui::menu_command_id(0, 0), 0u);
}

TEST_F(MenuBar, RebuildingReplacesTheBarAndTheTable) {
  templates_.add_menu(window(), 0x26000001, "File", 0);
  templates_.add_menu(window(), 0x26000002, "Open", 1, 0, kCtrlO);
  templates_.add_menu(window(), 0x26000003, "Tools", 0, kMenuHidden);
  templates_.add_menu(window(), 0x26000004, "Options", 1, 0, kF1);
  start();
  HMENU old_bar = slots().menu_bar;
  HACCEL old_table = slots().accelerators;
  ASSERT_EQ(GetMenuItemCount(old_bar), 1);

  record(1).caption = "Datei";
  record(3).flags = 0;
  ui::rebuild_menu(0);
  HMENU bar = GetMenu(ui::window_native(0));
  ASSERT_NE(bar, nullptr);
  EXPECT_NE(bar, old_bar);
  EXPECT_FALSE(IsMenu(old_bar));
  EXPECT_EQ(CopyAcceleratorTableA(old_table, nullptr, 0), 0);
  ASSERT_EQ(GetMenuItemCount(bar), 2);
  EXPECT_EQ(item_text(bar, 0), "Datei");
  EXPECT_EQ(item_text(bar, 1), "Tools");
  EXPECT_EQ(accelerators_of(slots().accelerators).size(), 2u);

  // Hiding every top-level item takes the bar away.
  record(1).flags = kMenuHidden;
  record(3).flags = kMenuHidden;
  ui::rebuild_menu(0);
  EXPECT_EQ(GetMenu(ui::window_native(0)), nullptr);
  EXPECT_FALSE(IsMenu(bar));
  EXPECT_EQ(slots().accelerators, nullptr);
}

TEST(Hotkeys, CodesMapToKeysAndNames) {
  struct Case {
    std::uint32_t code;
    const char* name;
    BYTE modifiers;
    WORD key;
  };
  const Case cases[] = {
      {1, "Ctrl+A", FCONTROL, 'A'},
      {26, "Ctrl+Z", FCONTROL, 'Z'},
      {27, "F1", 0, VK_F1},
      {38, "F12", 0, VK_F1 + 11},
      {39, "Ctrl+F1", FCONTROL, VK_F1},
      {51, "Shift+F1", FSHIFT, VK_F1},
      {62, "Shift+F12", FSHIFT, VK_F1 + 11},
      {63, "Ctrl+Shift+F1", FCONTROL | FSHIFT, VK_F1},
      {74, "Ctrl+Shift+F12", FCONTROL | FSHIFT, VK_F1 + 11},
      {75, "Ins", 0, VK_INSERT},
      {76, "Del", 0, VK_DELETE},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ui::hotkey_name(c.code), c.name) << c.code;
    std::optional<ui::Hotkey> key = ui::hotkey_for_code(c.code);
    ASSERT_TRUE(key.has_value()) << c.code;
    EXPECT_EQ(key->flags, c.modifiers | FVIRTKEY | FNOINVERT) << c.code;
    EXPECT_EQ(key->key, c.key) << c.code;
  }
  for (std::uint32_t code : {0u, 77u, 1000u, 0xFFFFFFFFu}) {
    EXPECT_EQ(ui::hotkey_name(code), "") << code;
    EXPECT_FALSE(ui::hotkey_for_code(code).has_value()) << code;
  }
}

}  // namespace
