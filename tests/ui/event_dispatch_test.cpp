#include "ui/events/event_dispatch.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/api/input.h"
#include "platform/api/user.h"
#include "platform/winsys/headless.h"
#include "runtime/abi/event_handler.h"
#include "runtime/abi/event_request.h"
#include "runtime/callback.h"
#include "runtime/runtime_error.h"
#include "runtime/window_system.h"
#include "tests/ui/property_test_support.h"
#include "ui/state/messages.h"

namespace access_test {
namespace {

constexpr std::uint32_t kWindow = 0x52000050;
constexpr std::uint32_t kOwn = 0x06000050;
constexpr std::uint32_t kProbe = 0x16000051;
constexpr std::uint32_t kInert = 0x16000052;
constexpr std::uint32_t kMenuTop = 0x26000053;
constexpr std::uint32_t kMenuItem = 0x26000054;
constexpr std::uint32_t kMenuNone = 0x26000055;

runtime::SimpleEventRequest simple(std::uint32_t unit, std::int32_t event,
                                   std::initializer_list<std::uint32_t> args = {}) {
  runtime::SimpleEventRequest r{};
  r.window_id = kWindow;
  r.unit_id = unit;
  r.event = event;
  for (std::uint32_t a : args) r.args[r.count++] = a;
  return r;
}

std::uint32_t current_source_window() {
  std::uint32_t source[2] = {0, 0};
  runtime::runtime_callback(runtime::callback::kEventSource, reinterpret_cast<std::intptr_t>(source), 0);
  return source[0];
}

class EventDispatch : public AccessTest {
 protected:
  void SetUp() override {
    AccessTest::SetUp();
    ui::templates::EventBinding none;
    none.event = 4;
    none.handler_offset = -1;
    auto& window = templates_.add_window(kWindow, kOwn, window_block(), {bind(6, 3)});
    templates_.add_unit(window, kProbe, kProbeType, {10, 10, 80, 20}, kVisible, probe_block(),
                        {bind(2, 1), bind(3, 0), none, bind(-11, 2)});
    templates_.add_unit(window, kInert, kInertProbeType, {10, 40, 80, 20}, kVisible, probe_block(),
                        {bind(0, 1)});
    templates_.add_menu(window, kMenuTop, "top", 0);
    templates_.add_menu(window, kMenuItem, "item", 1, 0, 2);
    templates_.add_menu(window, kMenuNone, "none", 1);
    start(kWindow);
    handler_log().calls.clear();
  }
};

TEST_F(EventDispatch, UnitWithoutBindingAnswersZeroAndLeavesTheResultAlone) {
  for (std::int32_t event : {5, 4, -1}) {  // no binding; a binding to no handler; a common event
    runtime::SimpleEventRequest r = simple(kProbe, event);
    r.result_present = 7;
    r.result = 9;
    EXPECT_EQ(ui::raise_event(&r, false), 0) << event;
    EXPECT_EQ(r.result_present, 7u);
    EXPECT_EQ(r.result, 9u);
  }
  EXPECT_TRUE(handler_log().calls.empty());
  EXPECT_EQ(ui::find_event_handler(kWindow, kProbe, 5), nullptr);
  EXPECT_EQ(ui::raise_event(nullptr, false), 0);
}

TEST_F(EventDispatch, SimpleRequestPassesItsWordsAndKeepsTheLowWordOfTheResult) {
  handler_log().results[1] = runtime::returns(0x1234567890ull);
  runtime::SimpleEventRequest r = simple(kProbe, 2, {1, 2, 0xFFFFFFFF});
  EXPECT_EQ(ui::raise_event(&r, false), 1);
  ASSERT_EQ(handler_log().calls.size(), 1u);
  EXPECT_EQ(handler_log().calls[0].handler, 1);
  EXPECT_EQ(handler_log().calls[0].args, (std::vector<std::uint64_t>{1, 2, 0xFFFFFFFF}));
  EXPECT_EQ(r.result_present, 1u);
  EXPECT_EQ(r.result, 0x34567890u);

  // A handler that returns nothing leaves the result fields; a count above 5 is cut to 5.
  handler_log().results[1] = runtime::returns_nothing();
  runtime::SimpleEventRequest many = simple(kProbe, 2, {1, 2, 3, 4, 5});
  many.count = 40;
  EXPECT_EQ(ui::raise_event(&many, false), 1);
  EXPECT_EQ(handler_log().calls[1].args.size(), 5u);
  EXPECT_EQ(many.result_present, 0u);
}

TEST_F(EventDispatch, HandlerAtOffsetZeroRunsAndTheEventSourceIsSetMeanwhile) {
  runtime::SimpleEventRequest r = simple(kProbe, 3);
  EXPECT_EQ(ui::raise_event(&r, false), 1);
  ASSERT_EQ(handler_log().calls.size(), 1u);
  EXPECT_EQ(handler_log().calls[0].handler, 0);
  EXPECT_EQ(handler_log().calls[0].source_window, kWindow);
  EXPECT_EQ(handler_log().calls[0].source_unit, kProbe);
  EXPECT_EQ(current_source_window(), 0u) << "cleared after the handler";

  // Unit id 0 is the window itself, reported with its own unit id.
  runtime::SimpleEventRequest w = simple(0, 6);
  EXPECT_EQ(ui::raise_event(&w, false), 1);
  EXPECT_EQ(handler_log().calls[1].handler, 3);
  EXPECT_EQ(handler_log().calls[1].source_unit, kOwn);
}

TEST_F(EventDispatch, MenuRecordsHaveTheirSelectionHandlerOnly) {
  runtime::SimpleEventRequest r = simple(kMenuItem, 0);
  EXPECT_EQ(ui::raise_event(&r, false), 1);
  ASSERT_EQ(handler_log().calls.size(), 1u);
  EXPECT_EQ(handler_log().calls[0].handler, 2);
  EXPECT_EQ(handler_log().calls[0].source_unit, kMenuItem);
  runtime::SimpleEventRequest none = simple(kMenuNone, 0);
  EXPECT_EQ(ui::raise_event(&none, false), 0);
}

TEST_F(EventDispatch, TypedArgumentsArePassedByFlagsAndTags) {
  handler_log().results[1] = runtime::returns(0xAABBCCDD11223344ull);
  runtime::TypedEventRequest r{};
  r.window_id = kWindow;
  r.unit_id = kProbe;
  r.event = 2;
  int variable = 0;
  const auto address = reinterpret_cast<std::uintptr_t>(&variable);
  const runtime::TypedEventArgument args[] = {
      {static_cast<std::uint32_t>(address), static_cast<std::uint32_t>(address >> 32), 0x80000301,
       runtime::kPassAddress},
      {1, 2, 0x80000301, runtime::kPassBothWords},
      {3, 4, 0x00010003, 0},
      {0x1FF, 5, 0x80000101, 0},
      {0x1FFFF, 5, 0x80000201, 0},
      {0x17FFF, 5, 0x80000201, 0},
      {6, 7, 0x80000003, 0},
      {8, 9, 0x80000008, 0},
      {10, 11, 0x80000401, 0},
      {12, 13, 0x80000601, 0},
      {14, 15, 0x80000301, 0},
  };
  for (const auto& a : args) r.args[r.count++] = a;
  EXPECT_EQ(ui::raise_event(&r, true), 1);
  ASSERT_EQ(handler_log().calls.size(), 1u);
  const std::vector<std::uint64_t> expected = {
      address,        0x200000001ull, 0x400000003ull, 0xFF, 0xFFFFFFFFull, 0x7FFF, 0x700000006ull,
      0x900000008ull, 0xB0000000Aull, 0xD0000000Cull, 14};
  EXPECT_EQ(handler_log().calls[0].args, expected);
  EXPECT_EQ(r.result_present, 1u);
  EXPECT_EQ(r.result_low, 0x11223344u);
  EXPECT_EQ(r.result_high, 0xAABBCCDDu);
}

TEST_F(EventDispatch, NoHandlerRunsWhileEventsAreBlocked) {
  runtime::block_events();
  runtime::SimpleEventRequest r = simple(kProbe, 2);
  EXPECT_EQ(ui::raise_event(&r, false), 0);
  // Even a window that doesn't exist is no error then: the event is dropped.
  EXPECT_EQ(ui::find_event_handler(0x52777777, 0, 0), nullptr);
  runtime::unblock_events();
  EXPECT_TRUE(handler_log().calls.empty());
  EXPECT_EQ(ui::raise_event(&r, false), 1);
}

TEST_F(EventDispatch, MissingWindowUnitOrInvalidTypeIsARuntimeError) {
  EXPECT_EXIT(ui::find_event_handler(0x52777777, 0, 0), ::testing::ExitedWithCode(255),
              ::testing::HasSubstr(utf8(ui::messages::kEventWindowMissing)));
  EXPECT_EXIT(ui::find_event_handler(kWindow, 0x16777777, 0), ::testing::ExitedWithCode(255),
              ::testing::HasSubstr(utf8(ui::messages::kEventUnitMissing)));
  EXPECT_EXIT(ui::find_event_handler(kWindow, kInert, 0), ::testing::ExitedWithCode(255),
              ::testing::HasSubstr(utf8(ui::messages::kEventUnitInvalid)));
}

TEST_F(EventDispatch, NoHandlerRunsAfterARuntimeErrorWhileItsBoxServesMessages) {
  // The box is left to its own loop: the probe's pending request to raise its event 2 is served
  // meanwhile, and a pressed Enter closes the box. A handler that ran would end the child with 42.
  handler_log().reaction = [](int) { _exit(42); };
  EXPECT_EXIT(
      {
        alarm(20);
        unsetenv("LYRICS_MESSAGEBOX");
        PostMessageA(native(0, 1), kMsgProbeRaise, 2, 0);
        platform::headless::key_press(VK_RETURN);
        runtime::report_runtime_error("boom", 0);
      },
      ::testing::ExitedWithCode(255), ::testing::HasSubstr("boom"));
}

}  // namespace
}  // namespace access_test
