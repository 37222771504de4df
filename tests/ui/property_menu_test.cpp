#include <gtest/gtest.h>

#include <string>

#include "platform/api/input.h"
#include "platform/api/menu.h"
#include "platform/api/user.h"
#include "platform/winsys/headless.h"
#include "runtime/heap.h"
#include "runtime/values.h"
#include "tests/support/runtime_values.h"
#include "tests/ui/property_test_support.h"
#include "ui/access/property_access.h"
#include "ui/templates/window_collection.h"

namespace access_test {
namespace {

using test_support::take_text;
using test_support::text_value;

constexpr std::uint32_t kWindow = 0x520000A0;
constexpr std::uint32_t kOwn = 0x060000A0;
constexpr std::uint32_t kFile = 0x260000A1;
constexpr std::uint32_t kOpen = 0x260000A2;
constexpr std::uint32_t kSave = 0x260000A3;

enum MenuProperty { kCaption, kChecked, kDisabled, kVisible };

class MenuProperties : public AccessTest {
 protected:
  void SetUp() override {
    AccessTest::SetUp();
    auto& window = templates_.add_window(kWindow, kOwn, window_block());
    templates_.add_menu(window, kFile, "File", 0);
    templates_.add_menu(window, kOpen, "Open", 1, 0, 1);
    window.units.back().menu().hotkey = 1;  // Ctrl+A
    templates_.add_menu(window, kSave, "Save", 1);
    start(kWindow);
    SetActiveWindow(native(0, 0));
    handler_log().calls.clear();
  }

  HMENU bar() const { return GetMenu(native(0, 0)); }
  std::string item_text(int position) const {
    char buffer[64] = {};
    GetMenuStringA(GetSubMenu(bar(), 0), static_cast<UINT>(position), buffer, sizeof buffer, MF_BYPOSITION);
    return buffer;
  }
  const ui::templates::MenuRecord& record(std::size_t unit) const {
    return ui::templates::window_collection().window(0).units[unit].menu();
  }
};

TEST_F(MenuProperties, CaptionWriteRebuildsTheMenuOnlyWhenTheCaptionChanges) {
  HMENU before = bar();
  ASSERT_NE(before, nullptr);
  EXPECT_EQ(take_text(ui::read_unit_property(kWindow, kOpen, kCaption, -1)), "Open");

  ui::write_unit_property(kWindow, kOpen, kCaption, -1, text_value("Open"));
  EXPECT_EQ(bar(), before) << "the same caption rebuilds nothing";

  ui::write_unit_property(kWindow, kOpen, kCaption, -1, text_value("Load"));
  EXPECT_NE(bar(), before);
  EXPECT_EQ(record(2).caption, "Load");
  EXPECT_EQ(item_text(0).substr(0, 4), "Load");

  HMENU second = bar();
  ui::write_unit_property(kWindow, kSave, kCaption, -1, 0);
  EXPECT_EQ(record(3).caption, "");
  EXPECT_NE(bar(), second);
  EXPECT_EQ(ui::read_unit_property(kWindow, kSave, kCaption, -1), 0u)
      << "an empty caption reads as the empty text";
}

TEST_F(MenuProperties, FlagsAreReadFromTheRecordAndChangesRebuild) {
  EXPECT_EQ(ui::read_unit_property(kWindow, kSave, kChecked, -1), 0u);
  EXPECT_EQ(ui::read_unit_property(kWindow, kSave, kVisible, -1), 1u);
  EXPECT_EQ(ui::read_unit_property(kWindow, kSave, 9, -1), 0u);

  HMENU before = bar();
  ui::write_unit_property(kWindow, kSave, kChecked, -1, 5);
  EXPECT_NE(bar(), before);
  EXPECT_NE(GetMenuState(GetSubMenu(bar(), 0), 1, MF_BYPOSITION) & MF_CHECKED, 0u);
  EXPECT_EQ(ui::read_unit_property(kWindow, kSave, kChecked, -1), 1u);

  HMENU checked = bar();
  ui::write_unit_property(kWindow, kSave, kChecked, -1, 1);
  EXPECT_EQ(bar(), checked) << "no change, no rebuild";

  ui::write_unit_property(kWindow, kSave, kDisabled, -1, 1);
  EXPECT_EQ(record(3).flags & ui::templates::kMenuDisabled, ui::templates::kMenuDisabled);
  ui::write_unit_property(kWindow, kSave, kVisible, -1, 0);
  EXPECT_EQ(record(3).flags & ui::templates::kMenuHidden, ui::templates::kMenuHidden);
  EXPECT_EQ(ui::read_unit_property(kWindow, kSave, kVisible, -1), 0u);
  EXPECT_EQ(GetMenuItemCount(GetSubMenu(bar(), 0)), 1) << "the hidden item left the bar";
}

TEST_F(MenuProperties, AcceleratorOfAMenuItemRaisesItsSelection) {
  platform::headless::key_down(VK_CONTROL);
  platform::headless::key_press('A');
  platform::headless::key_up(VK_CONTROL);
  ui_test::pump();
  ASSERT_EQ(handler_log().calls.size(), 1u);
  EXPECT_EQ(handler_log().calls[0].handler, 1);
  EXPECT_EQ(handler_log().calls[0].source_unit, kOpen);
}

}  // namespace
}  // namespace access_test
