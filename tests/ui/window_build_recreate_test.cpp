#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/api/user.h"
#include "tests/ui/support/test_unit_types.h"
#include "tests/ui/support/ui_host.h"
#include "ui/templates/window_collection.h"
#include "ui/units/unit_interface.h"
#include "ui/windows/window_builder.h"

namespace {

using namespace ui_test;
using ui::templates::kTabStop;
using ui::templates::kVisible;

constexpr std::uint32_t kWindow = 0x52000001;
constexpr std::uint32_t kOwn = 0x06000001;

class Recreate : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_fake_log();
    auto& w = templates_.add_window(kWindow, kOwn);
    templates_.add_control(w, 0x16000001, kFakeControl, kVisible | kTabStop);
    templates_.add_control(w, 0x16000002, kFakeControl, kVisible | kTabStop);
    templates_.add_control(w, 0x16000003, kFakeControl, kVisible | kTabStop);
    host_ = std::make_unique<UiHost>(templates_.block(), nullptr,
                                     std::vector<runtime::LibraryRecord>{fake_unit_library()});
    record_events();
    ASSERT_TRUE(ui::load_window(kWindow));
    fake_log().layout.clear();
  }
  void TearDown() override {
    host_.reset();
    reset_fake_log();
  }

  static HWND native(std::size_t unit) {
    ui::Unit* u = ui::live_unit(0, unit);
    return u != nullptr ? u->hwnd() : nullptr;
  }

  static RECT rect_in_parent(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

  FakeTemplates templates_;
  std::unique_ptr<UiHost> host_;
};

TEST_F(Recreate, TheNewUnitKeepsFocusPlaceIdAndStacking) {
  HWND old = native(2);
  SetFocus(old);
  MoveWindow(old, 33, 44, 55, 66, TRUE);
  const int id = GetDlgCtrlID(old);

  ui::recreate_unit(0, 2);
  HWND fresh = native(2);
  ASSERT_NE(fresh, nullptr);
  EXPECT_NE(fresh, old);
  EXPECT_FALSE(IsWindow(old));
  EXPECT_EQ(GetFocus(), fresh);
  const RECT r = rect_in_parent(fresh);
  EXPECT_EQ(r.left, 33);
  EXPECT_EQ(r.top, 44);
  EXPECT_EQ(r.right - r.left, 55);
  EXPECT_EQ(r.bottom - r.top, 66);
  EXPECT_EQ(GetDlgCtrlID(fresh), id);
  EXPECT_EQ(GetParent(fresh), ui::window_native(0));
  EXPECT_TRUE(IsWindowVisible(fresh));
  EXPECT_TRUE(GetWindowLongA(fresh, GWL_STYLE) & WS_TABSTOP);
  EXPECT_EQ(GetWindow(native(1), GW_HWNDNEXT), fresh);
  EXPECT_EQ(GetWindow(fresh, GW_HWNDNEXT), native(3));
  // The old object going away did not empty the slot the new one sits in.
  EXPECT_EQ(ui::unit_object(0, 2), ui::live_unit(0, 2));
  EXPECT_EQ(ui::unit_index_of_native(0, fresh), 2);
  ASSERT_EQ(fake_log().layout.size(), 2u);
  EXPECT_EQ(fake_log().layout[0].message, ui::kMsgRereadData);
  EXPECT_EQ(fake_log().layout[1].message, ui::kMsgPageSetup);
}

TEST_F(Recreate, FocusElsewhereStaysAndDisabledOrHiddenUnitsStaySo) {
  HWND focused = native(1);
  SetFocus(focused);
  HWND third = native(3);
  EnableWindow(third, FALSE);
  ShowWindow(third, SW_HIDE);

  ui::recreate_unit(0, 3);
  HWND fresh = native(3);
  ASSERT_NE(fresh, third);
  EXPECT_EQ(GetFocus(), focused);
  EXPECT_FALSE(IsWindowEnabled(fresh));
  EXPECT_FALSE(IsWindowVisible(fresh));
  EXPECT_EQ(GetWindow(native(2), GW_HWNDNEXT), fresh);
}

TEST_F(Recreate, AFailedCreateKeepsTheOldUnit) {
  HWND old = native(1);
  fake_log().fail_next_create = true;
  ui::recreate_unit(0, 1);
  EXPECT_EQ(native(1), old);
  EXPECT_TRUE(IsWindow(old));
}

TEST_F(Recreate, UnitsThatCannotBeRecreatedAndBadIndexesAreLeftAlone) {
  HWND window = ui::window_native(0);
  const std::size_t created = fake_log().created.size();
  ui::recreate_unit(0, 0);  // the window type carries "cannot be re-created"
  ui::recreate_unit(0, 17);
  ui::recreate_unit(4, 1);
  EXPECT_EQ(ui::window_native(0), window);
  EXPECT_EQ(fake_log().created.size(), created);
}

TEST_F(Recreate, AGoneControlEmptiesItsSlot) {
  HWND control = native(2);
  DestroyWindow(control);
  EXPECT_EQ(ui::unit_object(0, 2), nullptr);
  EXPECT_EQ(ui::unit_index_of_native(0, control), -1);
  EXPECT_NE(ui::live_unit(0, 1), nullptr);
  ui::recreate_unit(0, 2);  // nothing left to re-create from
  EXPECT_EQ(ui::unit_object(0, 2), nullptr);
}

}  // namespace
