#include "ui/access/property_access.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/api/input.h"
#include "platform/api/user.h"
#include "runtime/heap.h"
#include "runtime/messages.h"
#include "runtime/values.h"
#include "tests/support/runtime_values.h"
#include "tests/ui/property_test_support.h"
#include "ui/state/messages.h"
#include "ui/templates/window_collection.h"

namespace access_test {
namespace {

using test_support::take_bytes;
using test_support::take_text;
using test_support::text_value;


constexpr std::uint32_t kWindow = 0x52000010;
constexpr std::uint32_t kOwn = 0x06000010;
constexpr std::uint32_t kProbe = 0x16000011;
constexpr std::uint32_t kHidden = 0x16000012;
constexpr std::uint32_t kOther = 0x52000020;
constexpr std::uint32_t kOtherOwn = 0x06000020;
constexpr std::uint32_t kOtherProbe = 0x16000021;

enum Common { kLeft, kTop, kWidth, kHeight, kTag, kVisibleProperty, kDisabledProperty, kCursor };

class PropertyAccess : public AccessTest {
 protected:
  // Window kWindow with a probe (unit 1) and a hidden-starting probe (unit 2); window kOther is
  // never loaded.
  void compose() {
    auto& window = templates_.add_window(kWindow, kOwn, window_block());
    templates_.add_unit(window, kProbe, kProbeType, {10, 20, 60, 30}, kVisible | kTabStop,
                        probe_block("probe"));
    templates_.add_unit(window, kHidden, kHiddenProbeType, {10, 60, 60, 30}, kVisible, probe_block("hidden"));
    auto& other = templates_.add_window(kOther, kOtherOwn, window_block());
    templates_.add_unit(other, kOtherProbe, kProbeType, {7, 8, 9, 10}, kVisible, probe_block());
  }
  const ui::templates::ControlRecord& record(std::size_t window, std::size_t unit) {
    return ui::templates::window_collection().window(window).units[unit].control();
  }
};

TEST_F(PropertyAccess, NeverShownUnitAnswersTemplateValuesAndStoresClampedWrites) {
  compose();
  start(kWindow);
  EXPECT_EQ(ui::read_unit_property(kOther, kOtherProbe, kLeft, -1), 7u);
  EXPECT_EQ(ui::read_unit_property(kOther, kOtherProbe, kTop, -1), 8u);
  EXPECT_EQ(ui::read_unit_property(kOther, kOtherProbe, kWidth, -1), 9u);
  EXPECT_EQ(ui::read_unit_property(kOther, kOtherProbe, kHeight, -1), 10u);
  EXPECT_EQ(ui::read_unit_property(kOther, kOtherProbe, kVisibleProperty, -1), 1u);

  ui::write_unit_property(kOther, kOtherProbe, kWidth, -1, static_cast<std::uint32_t>(-5));
  ui::write_unit_property(kOther, kOtherProbe, kLeft, -1, 40000);
  ui::write_unit_property(kOther, kOtherProbe, kTop, -1, static_cast<std::uint32_t>(-40000));
  ui::write_unit_property(kOther, kOtherProbe, kHeight, -1, 32628);
  EXPECT_EQ(record(1, 1).width, 0);
  EXPECT_EQ(record(1, 1).left, 32627);
  EXPECT_EQ(record(1, 1).top, -32627);
  EXPECT_EQ(record(1, 1).height, 32627);
  EXPECT_EQ(static_cast<std::int32_t>(ui::read_unit_property(kOther, kOtherProbe, kTop, -1)), -32627);
}

TEST_F(PropertyAccess, LiveUnitAnswersItsNativePlaceAndMovesOnWrites) {
  compose();
  start(kWindow);
  HWND probe = native(0, 1);
  ASSERT_NE(probe, nullptr);
  EXPECT_EQ(ui::read_unit_property(kWindow, kProbe, kLeft, -1), 10u);
  EXPECT_EQ(ui::read_unit_property(kWindow, kProbe, kTop, -1), 20u);

  MoveWindow(probe, 25, 35, 45, 55, TRUE);
  EXPECT_EQ(ui::read_unit_property(kWindow, kProbe, kLeft, -1), 25u);
  EXPECT_EQ(ui::read_unit_property(kWindow, kProbe, kTop, -1), 35u);
  EXPECT_EQ(ui::read_unit_property(kWindow, kProbe, kWidth, -1), 45u);
  EXPECT_EQ(ui::read_unit_property(kWindow, kProbe, kHeight, -1), 55u);
  EXPECT_EQ(record(0, 1).left, 10);  // the record keeps what was last written

  ui::write_unit_property(kWindow, kProbe, kLeft, -1, 40);
  ui::write_unit_property(kWindow, kProbe, kHeight, -1, static_cast<std::uint32_t>(-5));
  RECT r{};
  GetWindowRect(probe, &r);
  MapWindowPoints(nullptr, GetParent(probe), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 40);
  EXPECT_EQ(r.top, 35);
  EXPECT_EQ(r.right - r.left, 45);
  EXPECT_EQ(r.bottom - r.top, 0);
  EXPECT_EQ(record(0, 1).left, 40);
  EXPECT_EQ(record(0, 1).height, 0);

  // The window unit's own place is on the screen.
  RECT w{};
  GetWindowRect(native(0, 0), &w);
  EXPECT_EQ(ui::read_unit_property(kWindow, 0, kLeft, -1), static_cast<std::uint32_t>(w.left));
  EXPECT_EQ(ui::read_unit_property(kWindow, kOwn, kWidth, -1), static_cast<std::uint32_t>(w.right - w.left));
}

TEST_F(PropertyAccess, TagVisibleAndDisabled) {
  compose();
  start(kWindow);
  HWND probe = native(0, 1);
  EXPECT_EQ(take_text(ui::read_unit_property(kWindow, kProbe, kTag, -1)), "");
  ui::write_unit_property(kWindow, kProbe, kTag, -1, text_value("mark"));
  EXPECT_EQ(take_text(ui::read_unit_property(kWindow, kProbe, kTag, -1)), "mark");
  ui::write_unit_property(kWindow, kProbe, kTag, -1, 0);
  EXPECT_EQ(record(0, 1).tag, "");

  ASSERT_TRUE(IsWindowVisible(probe));
  ui::write_unit_property(kWindow, kProbe, kVisibleProperty, -1, 0);
  EXPECT_FALSE(IsWindowVisible(probe));
  EXPECT_EQ(ui::read_unit_property(kWindow, kProbe, kVisibleProperty, -1), 0u);
  EXPECT_EQ(record(0, 1).state_flags & kVisible, 0u);
  ui::write_unit_property(kWindow, kProbe, kVisibleProperty, -1, 7);
  EXPECT_TRUE(IsWindowVisible(probe));
  EXPECT_NE(record(0, 1).state_flags & kVisible, 0u);

  // A type that starts hidden is not shown by a write; its record still says visible.
  HWND hidden = native(0, 2);
  ASSERT_FALSE(IsWindowVisible(hidden));
  ui::write_unit_property(kWindow, kHidden, kVisibleProperty, -1, 1);
  EXPECT_FALSE(IsWindowVisible(hidden));

  ui::write_unit_property(kWindow, kProbe, kDisabledProperty, -1, 1);
  EXPECT_FALSE(IsWindowEnabled(probe));
  EXPECT_EQ(ui::read_unit_property(kWindow, kProbe, kDisabledProperty, -1), 1u);
  ui::write_unit_property(kWindow, kProbe, kDisabledProperty, -1, 0);
  EXPECT_TRUE(IsWindowEnabled(probe));
  EXPECT_EQ(ui::read_unit_property(kWindow, kProbe, kDisabledProperty, -1), 0u);
}

TEST_F(PropertyAccess, CursorSelectorIsStoredAsSystemIdAndReadAsIndex) {
  compose();
  start(kWindow);
  EXPECT_EQ(take_bytes(ui::read_unit_property(kWindow, kProbe, kCursor, -1)),
            (std::vector<std::uint8_t>{0, 0, 0, 0}));
  EXPECT_EQ(ui::templates::window_collection().slots(0).cursors[1], nullptr);

  const std::uint8_t cross[] = {2, 0, 0, 0};
  std::uint8_t* set = runtime::make_byte_set(cross, sizeof cross);
  ui::write_unit_property(kWindow, kProbe, kCursor, -1, reinterpret_cast<std::uintptr_t>(set));
  runtime::release(set);
  // IDC_CROSS is 32515 = 0x7F03.
  EXPECT_EQ(record(0, 1).cursor_selector, (std::vector<std::uint8_t>{0x03, 0x7F, 0, 0}));
  EXPECT_EQ(ui::templates::window_collection().slots(0).cursors[1], LoadCursorA(nullptr, IDC_CROSS));
  EXPECT_EQ(take_bytes(ui::read_unit_property(kWindow, kProbe, kCursor, -1)),
            (std::vector<std::uint8_t>{2, 0, 0, 0}));

  // An empty byte set is the default cursor again.
  ui::write_unit_property(kWindow, kProbe, kCursor, -1, 0);
  EXPECT_TRUE(record(0, 1).cursor_selector.empty());
  EXPECT_EQ(ui::templates::window_collection().slots(0).cursors[1], nullptr);
}

TEST_F(PropertyAccess, UnknownIndexesReadZeroAndWriteNothing) {
  compose();
  start(kWindow);
  EXPECT_EQ(ui::read_unit_property(kWindow, kProbe, -3, -1), 0u);
  EXPECT_EQ(ui::read_unit_property(kWindow, kProbe, 400, -1), 0u);
  ui::write_unit_property(kWindow, kProbe, 400, -1, 1);
  ui::write_unit_property(kWindow, kProbe, -1, -1, 1);
  EXPECT_EQ(probe_log().last_set_index, -1);
}

TEST_F(PropertyAccess, MissingWindowUnitOrLiveUnitIsARuntimeError) {
  compose();
  start(kWindow);
  EXPECT_EXIT(ui::read_unit_property(0x52777777, kProbe, kLeft, -1), ::testing::ExitedWithCode(255),
              ::testing::HasSubstr(utf8(ui::messages::kAccessWindowNotLoaded)));
  EXPECT_EXIT(ui::write_unit_property(0x52777777, kProbe, kLeft, -1, 1), ::testing::ExitedWithCode(255),
              ::testing::HasSubstr(utf8(ui::messages::kAccessWindowNotLoaded)));
  EXPECT_EXIT(ui::read_unit_property(kWindow, 0x16777777, kLeft, -1), ::testing::ExitedWithCode(255),
              ::testing::HasSubstr(utf8(runtime::messages::kUnitNotLoaded)));
  // Own properties need the unit's native window; common ones don't.
  EXPECT_EXIT(ui::read_unit_property(kOther, kOtherProbe, probe::kText, -1), ::testing::ExitedWithCode(255),
              ::testing::HasSubstr(utf8(ui::messages::kUnitNotLive)));
  EXPECT_EXIT(ui::write_unit_property(kOther, kOtherProbe, probe::kText, -1, 0),
              ::testing::ExitedWithCode(255), ::testing::HasSubstr(utf8(ui::messages::kUnitNotLive)));
}

}  // namespace
}  // namespace access_test

namespace access_test {
namespace {

constexpr std::uint32_t kPagedWindow = 0x520000B0;
constexpr std::uint32_t kPagedOwn = 0x060000B0;
constexpr std::uint32_t kPages = 0x160000B1;
constexpr std::uint32_t kOnFirst = 0x160000B2;
constexpr std::uint32_t kOnSecond = 0x160000B3;

TEST_F(AccessTest, UnitOnAPageThatIsNotShowingStaysHidden) {
  auto& window = templates_.add_window(kPagedWindow, kPagedOwn, window_block());
  auto& pages = templates_.add_unit(window, kPages, kPagesProbeType, {5, 5, 200, 100},
                                    ui::templates::kVisible, probe_block());
  pages.control().child_ids = {kOnFirst, 0, kOnSecond};
  auto& first = templates_.add_unit(window, kOnFirst, kProbeType, {5, 5, 50, 20}, ui::templates::kVisible,
                                    probe_block());
  first.control().parent_id = kPages;
  auto& second = templates_.add_unit(window, kOnSecond, kProbeType, {5, 30, 50, 20}, ui::templates::kVisible,
                                     probe_block());
  second.control().parent_id = kPages;
  start(kPagedWindow);
  ASSERT_TRUE(IsWindowVisible(native(0, 2)));
  ASSERT_FALSE(IsWindowVisible(native(0, 3)));

  ui::write_unit_property(kPagedWindow, kOnSecond, 5, -1, 1);
  EXPECT_FALSE(IsWindowVisible(native(0, 3)));
  ui::write_unit_property(kPagedWindow, kOnFirst, 5, -1, 0);
  EXPECT_FALSE(IsWindowVisible(native(0, 2)));
  ui::write_unit_property(kPagedWindow, kOnFirst, 5, -1, 1);
  EXPECT_TRUE(IsWindowVisible(native(0, 2)));
}

}  // namespace
}  // namespace access_test
