#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/api/input.h"
#include "platform/api/user.h"
#include "platform/winsys/headless.h"
#include "runtime/heap.h"
#include "runtime/values.h"
#include "tests/ui/property_test_support.h"
#include "ui/access/property_access.h"
#include "ui/events/common_events.h"
#include "ui/events/pre_translate.h"
#include "ui/units/unit_cursor.h"

namespace access_test {
namespace {

constexpr std::uint32_t kWindow = 0x52000090;
constexpr std::uint32_t kOwn = 0x06000090;
constexpr std::uint32_t kProbe = 0x16000091;
constexpr std::uint32_t kEdit = 0x16000092;

// Handlers by event: 1 left down, 2 left up, 3 right up, 4 key down, 5 key up, 6 character,
// 7 wheel; handler 0 the edit box's left down.
class CommonEvents : public AccessTest {
 protected:
  void SetUp() override {
    AccessTest::SetUp();
    auto& window = templates_.add_window(kWindow, kOwn, window_block());
    templates_.add_unit(window, kProbe, kProbeType, {10, 10, 100, 40}, kVisible | kTabStop, probe_block(),
                        {bind(-1, 1), bind(-2, 2), bind(-5, 3), bind(-9, 4), bind(-10, 5), bind(-12, 7)});
    templates_.add_unit(window, kEdit, 0x00010005, {10, 60, 100, 22}, kVisible | kTabStop, edit_block(),
                        {bind(-1, 0), bind(-11, 6)});
    start(kWindow);
    SetActiveWindow(native(0, 0));
    handler_log().calls.clear();
  }

  std::vector<std::vector<std::uint64_t>> args_of(int handler) const {
    std::vector<std::vector<std::uint64_t>> all;
    for (const HandlerCall& c : handler_log().calls)
      if (c.handler == handler) all.push_back(c.args);
    return all;
  }

  std::string edit_text() {
    char text[32] = {};
    GetWindowTextA(native(0, 2), text, sizeof text);
    return text;
  }
};

TEST_F(CommonEvents, MouseEventsCarryPositionAndModifiers) {
  platform::headless::key_down(VK_CONTROL);
  platform::headless::click(native(0, 1), {5, 6});
  platform::headless::key_up(VK_CONTROL);
  platform::headless::key_down(VK_SHIFT);
  platform::headless::key_down(VK_MENU);
  platform::headless::click(native(0, 1), {70, 30}, platform::headless::Button::right);
  platform::headless::key_up(VK_MENU);
  platform::headless::key_up(VK_SHIFT);
  ui_test::pump();
  EXPECT_EQ(args_of(1), (std::vector<std::vector<std::uint64_t>>{{5, 6, 1}}));
  EXPECT_EQ(args_of(2), (std::vector<std::vector<std::uint64_t>>{{5, 6, 1}}));
  EXPECT_EQ(args_of(3), (std::vector<std::vector<std::uint64_t>>{{70, 30, 6}}));
}

TEST_F(CommonEvents, KeyEventsMapKeypadKeysAndLeaveTheKeyOutOfItsModifiers) {
  SetFocus(native(0, 1));
  platform::headless::key_press(VK_NUMPAD7);
  platform::headless::key_press(VK_DIVIDE);
  platform::headless::key_down(VK_SHIFT);
  platform::headless::key_down(VK_CONTROL);
  platform::headless::key_press(VK_SUBTRACT);
  platform::headless::key_up(VK_CONTROL);
  platform::headless::key_up(VK_SHIFT);
  ui_test::pump();
  const std::vector<std::vector<std::uint64_t>> downs = args_of(4);
  const std::vector<std::vector<std::uint64_t>> expected = {
      {'7', 0}, {191, 0}, {VK_SHIFT, 0}, {VK_CONTROL, 2}, {189, 3}};
  EXPECT_EQ(downs, expected);
  const std::vector<std::vector<std::uint64_t>> ups = args_of(5);
  ASSERT_EQ(ups.size(), 5u);
  EXPECT_EQ(ups[3], (std::vector<std::uint64_t>{VK_CONTROL, 2}));
  EXPECT_EQ(ups[4], (std::vector<std::uint64_t>{VK_SHIFT, 0}));

  EXPECT_EQ(ui::common_key_code(VK_NUMPAD0), static_cast<std::uint32_t>('0'));
  EXPECT_EQ(ui::common_key_code(VK_DECIMAL), 190u);
  EXPECT_EQ(ui::common_key_code(0x1241), 0x41u);
}

TEST_F(CommonEvents, WheelStepsAreTruncatedTowardZero) {
  SetFocus(native(0, 1));
  platform::headless::wheel(native(0, 1), {10, 10}, -250);
  platform::headless::wheel(native(0, 1), {10, 10}, 119);
  ui_test::pump();
  const std::vector<std::vector<std::uint64_t>> wheels = args_of(7);
  ASSERT_EQ(wheels.size(), 2u);
  EXPECT_EQ(static_cast<std::int32_t>(wheels[0][0]), -2);
  EXPECT_EQ(wheels[1][0], 0u);
}

TEST_F(CommonEvents, CharacterHandlerReplacesConsumesOrPassesTheCharacter) {
  SetFocus(native(0, 2));
  handler_log().results[6] = runtime::returns('b');
  platform::headless::text("a");
  ui_test::pump();
  EXPECT_EQ(edit_text(), "b");
  EXPECT_EQ(args_of(6), (std::vector<std::vector<std::uint64_t>>{{'a'}}));

  handler_log().results[6] = runtime::returns(0);
  platform::headless::text("c");
  ui_test::pump();
  EXPECT_EQ(edit_text(), "b") << "a result of 0 consumes the character";

  handler_log().results[6] = runtime::returns_nothing();
  platform::headless::text("d");
  ui_test::pump();
  EXPECT_EQ(edit_text(), "bd");
}

TEST_F(CommonEvents, MouseHandlerReturningZeroConsumesThePress) {
  SetFocus(native(0, 1));
  handler_log().results[0] = runtime::returns(0);
  platform::headless::click(native(0, 2), {5, 5});
  ui_test::pump();
  EXPECT_EQ(args_of(0).size(), 1u);
  EXPECT_NE(GetFocus(), native(0, 2)) << "the edit box never saw the press";

  handler_log().results[0] = runtime::returns(1);
  platform::headless::advance_clock(1000);
  platform::headless::click(native(0, 2), {5, 5});
  ui_test::pump();
  EXPECT_EQ(GetFocus(), native(0, 2));
}

TEST_F(CommonEvents, CursorRequestSetsTheUnitsResolvedCursor) {
  const std::uint8_t cross[] = {2, 0, 0, 0};
  std::uint8_t* set = runtime::make_byte_set(cross, sizeof cross);
  ui::write_unit_property(kWindow, kProbe, 7, -1, reinterpret_cast<std::uintptr_t>(set));
  runtime::release(set);

  SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  MSG request{};
  request.hwnd = native(0, 1);
  request.message = WM_SETCURSOR;
  request.wParam = reinterpret_cast<WPARAM>(native(0, 1));
  request.lParam = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
  EXPECT_TRUE(ui::pre_translate(&request));
  EXPECT_EQ(platform::headless::shown_cursor(), LoadCursorA(nullptr, IDC_CROSS));

  // The edit box holds no cursor; the window's own only counts over its client area.
  SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  EXPECT_FALSE(ui::apply_unit_cursor(native(0, 2), native(0, 2), HTCLIENT));
  EXPECT_FALSE(ui::apply_unit_cursor(native(0, 0), native(0, 0), HTCAPTION));
  EXPECT_EQ(platform::headless::shown_cursor(), LoadCursorA(nullptr, IDC_ARROW));
}

}  // namespace
}  // namespace access_test

namespace access_test {
namespace {

constexpr std::uint32_t kDragWindow = 0x520000C0;
constexpr std::uint32_t kDragOwn = 0x060000C0;
constexpr std::uint32_t kDragLabel = 0x160000C1;
constexpr std::uint32_t kDragEdit = 0x160000C2;

class DragByClient : public AccessTest {
 protected:
  void compose(bool drag) {
    auto& window = templates_.add_window(
        kDragWindow, kDragOwn, window_block([&](ui::WindowProperties& p) { p.drag_by_client = drag; }));
    templates_.add_unit(window, kDragLabel, 0x0001000A, {10, 10, 80, 20}, kVisible, label_block("drag"));
    templates_.add_unit(window, kDragEdit, 0x00010005, {10, 40, 80, 20}, kVisible, edit_block());
    start(kDragWindow);
  }

  // Pre-translates a left press on `target` and answers whether a caption drag was posted.
  bool press_starts_drag(HWND target) {
    MSG press{};
    press.hwnd = target;
    press.message = WM_LBUTTONDOWN;
    press.lParam = MAKELPARAM(3, 4);
    const bool handled = ui::pre_translate(&press);
    MSG posted{};
    const bool drag = PeekMessageA(&posted, native(0, 0), WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE) != 0;
    EXPECT_EQ(handled, drag);
    if (drag) {
      EXPECT_EQ(posted.wParam, static_cast<WPARAM>(HTCAPTION));
      POINT at{3, 4};
      ClientToScreen(target, &at);
      EXPECT_EQ(posted.lParam, MAKELPARAM(at.x, at.y));
    }
    return drag;
  }
};

TEST_F(DragByClient, PressOnTheClientAreaOrADraggingUnitMovesTheWindow) {
  compose(true);
  EXPECT_TRUE(press_starts_drag(native(0, 0)));
  EXPECT_TRUE(press_starts_drag(native(0, 1))) << "labels drag the window";
  EXPECT_FALSE(press_starts_drag(native(0, 2))) << "edit boxes don't";
}

TEST_F(DragByClient, NothingIsDraggedWhenSwitchedOff) {
  compose(false);
  EXPECT_FALSE(press_starts_drag(native(0, 0)));
  EXPECT_FALSE(press_starts_drag(native(0, 1)));
}

}  // namespace
}  // namespace access_test
