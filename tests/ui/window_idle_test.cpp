// The window's idle event through the host's idle operation and the runtime's message loop.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/api/user.h"
#include "runtime/abi/event_handler.h"
#include "runtime/message_loop.h"
#include "tests/ui/support/ui_host.h"
#include "ui/templates/template_builder.h"
#include "ui/units/unit_types.h"
#include "ui/units/window_properties.h"
#include "ui/windows/window_builder.h"

namespace {

constexpr std::uint32_t kWindow = 0x52000071;
constexpr std::uint32_t kOwn = 0x06000071;
constexpr std::int32_t kIdleOffset = 0x10;

std::vector<std::uint64_t> idle_arguments;
int answer_true_times = 0;     // then false
bool close_when_done = false;  // the false answer also closes the window

runtime::HandlerResult on_idle(const std::uint64_t* args, std::int32_t count) {
  idle_arguments.push_back(count > 0 ? args[0] : ~0ull);
  const bool more = static_cast<int>(idle_arguments.size()) <= answer_true_times;
  if (!more && close_when_done) PostMessageA(ui::window_native(0), WM_CLOSE, 0, 0);
  return runtime::returns(more ? 1 : 0);
}

const runtime::CodeEntry kEntries[] = {{kIdleOffset, reinterpret_cast<runtime::Routine>(&on_idle)}};
const runtime::CodeBase kCodeBase{kEntries, 1};

class WindowIdle : public ::testing::Test {
 protected:
  void start(bool bound) {
    idle_arguments.clear();
    properties_ = ui::WindowProperties{}.serialize();
    ui::templates::WindowTemplate w;
    w.id = kWindow;
    std::vector<ui::templates::EventBinding> events;
    if (bound) events.push_back({7, kIdleOffset});
    w.units.push_back(ui::templates::window_unit(kOwn, ui::kWindowType, {5, 5, 200, 150},
                                                 ui::templates::kVisible, events, properties_));
    host_ = std::make_unique<ui_test::UiHost>(ui::templates::build_templates(std::span(&w, 1)), &kCodeBase);
    ASSERT_TRUE(ui::load_window(kWindow));
    ui_test::pump();
    idle_arguments.clear();
  }
  void TearDown() override {
    host_.reset();
    MSG m;
    while (PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }

  std::vector<std::uint8_t> properties_;
  std::unique_ptr<ui_test::UiHost> host_;
};

TEST_F(WindowIdle, ATrueResultKeepsTheWindowInThePeriodAndFalseLeavesItUntilTheNext) {
  start(true);
  answer_true_times = 2;
  close_when_done = false;
  EXPECT_TRUE(host_->host().on_idle(0));
  EXPECT_TRUE(host_->host().on_idle(1));
  EXPECT_FALSE(host_->host().on_idle(2));
  EXPECT_FALSE(host_->host().on_idle(3));
  EXPECT_EQ(idle_arguments.size(), 3u) << "no idle event after a false result in the same period";
  for (std::size_t i = 1; i < idle_arguments.size(); ++i) EXPECT_GE(idle_arguments[i], idle_arguments[i - 1]);
  EXPECT_LT(idle_arguments.back(), 10000u) << "milliseconds since the period began";

  host_->host().on_idle(0);
  EXPECT_EQ(idle_arguments.size(), 4u) << "a new period raises the event again";
}

TEST_F(WindowIdle, AWindowWithoutAnIdleHandlerAsksForNoIdleTime) {
  start(false);
  EXPECT_FALSE(host_->host().on_idle(0));
  EXPECT_TRUE(idle_arguments.empty());
}

TEST_F(WindowIdle, TheMessageLoopRaisesIdleEventsUntilTheWindowCloses) {
  start(true);
  answer_true_times = 2;
  close_when_done = true;  // the third call closes the window, which ends the loop
  runtime::message_loop();
  EXPECT_EQ(idle_arguments.size(), 3u);
  EXPECT_EQ(ui::live_unit(0, 0), nullptr);
}

}  // namespace
