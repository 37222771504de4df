// The display's input sink: a headless backend hands each queued event to whatever sink is
// installed, stamped on the sink's clock, and with no window system above it drops them safely.
#include "platform/display/input_sink.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/api/input.h"
#include "platform/display/headless_backend.h"

namespace display = platform::display;

namespace {

struct Seen {
  std::string what;
  POINT pt{};
  int value = 0;
  bool down = false;
  DWORD time = 0;
};

std::vector<Seen>& seen() {
  static std::vector<Seen> log;
  return log;
}

display::InputSink recording_sink() {
  display::InputSink sink;
  sink.clock = [] { return DWORD{1000}; };
  sink.mouse_move = [](POINT p, DWORD t) { seen().push_back({"move", p, 0, false, t}); };
  sink.mouse_button = [](display::MouseButton b, bool down, POINT p, DWORD t) {
    seen().push_back({"button", p, static_cast<int>(b), down, t});
  };
  sink.mouse_wheel = [](int delta, POINT p, DWORD t) { seen().push_back({"wheel", p, delta, false, t}); };
  sink.key = [](UINT vk, bool down, DWORD t, bool) {
    seen().push_back({"key", {}, static_cast<int>(vk), down, t});
  };
  sink.text = [](std::string_view utf8, DWORD t) {
    seen().push_back({"text:" + std::string(utf8), {}, 0, false, t});
  };
  return sink;
}

display::RawEvent event(display::RawEvent::Kind kind) {
  display::RawEvent e;
  e.kind = kind;
  return e;
}

// Replaces the process's sink for one test and puts the window system's back afterwards.
class InputSink : public ::testing::Test {
 protected:
  void SetUp() override { seen().clear(); }
  void TearDown() override { display::set_input_sink(saved_); }
  int pump_all() {
    int n = 0;
    while (backend_.pump()) ++n;
    return n;
  }
  display::InputSink saved_ = display::input_sink();
  display::HeadlessBackend backend_;
};

TEST_F(InputSink, DeliversEachEventInOrderOnTheSinksClock) {
  display::set_input_sink(recording_sink());
  auto move = event(display::RawEvent::Kind::move);
  move.pt = {10, 20};
  backend_.inject(move);
  backend_.advance_clock(50);
  auto button = event(display::RawEvent::Kind::button);
  button.button = display::MouseButton::right;
  button.down = true;
  button.pt = {11, 21};
  backend_.inject(button);
  auto wheel = event(display::RawEvent::Kind::wheel);
  wheel.delta = -WHEEL_DELTA;
  wheel.pt = {12, 22};
  backend_.inject(wheel);
  auto key = event(display::RawEvent::Kind::key);
  key.vk = VK_RETURN;
  key.down = true;
  backend_.inject(key);
  auto text = event(display::RawEvent::Kind::text);
  text.text = "歌词";
  backend_.inject(text);
  EXPECT_EQ(backend_.now(), 1050u);

  ASSERT_EQ(pump_all(), 5);
  ASSERT_EQ(seen().size(), 5u);
  EXPECT_EQ(seen()[0].what, "move");
  EXPECT_EQ(seen()[0].pt.y, 20);
  EXPECT_EQ(seen()[0].time, 1000u);
  EXPECT_EQ(seen()[1].what, "button");
  EXPECT_EQ(seen()[1].value, static_cast<int>(display::MouseButton::right));
  EXPECT_TRUE(seen()[1].down);
  EXPECT_EQ(seen()[1].time, 1050u);
  EXPECT_EQ(seen()[2].what, "wheel");
  EXPECT_EQ(seen()[2].value, -WHEEL_DELTA);
  EXPECT_EQ(seen()[2].pt.x, 12);
  EXPECT_EQ(seen()[3].what, "key");
  EXPECT_EQ(seen()[3].value, VK_RETURN);
  EXPECT_EQ(seen()[4].what, "text:歌词");
}

TEST_F(InputSink, WithoutAWindowSystemEventsAreDroppedAndWindowsUnknown) {
  display::set_input_sink(display::InputSink{});
  const display::InputSink sink = display::input_sink();
  backend_.inject(event(display::RawEvent::Kind::move));
  backend_.inject(event(display::RawEvent::Kind::key));
  EXPECT_EQ(pump_all(), 2);
  EXPECT_TRUE(seen().empty());

  display::TopWindowFacts facts;
  EXPECT_FALSE(sink.describe(reinterpret_cast<HWND>(0x1234), facts));
  EXPECT_EQ(sink.keyboard_window(), nullptr);
  bool used = false;
  EXPECT_FALSE(sink.with_surface(nullptr, [&](cairo_surface_t*) { used = true; }));
  EXPECT_FALSE(used);
  display::CursorImage image;
  EXPECT_FALSE(sink.cursor_image(nullptr, image));
  EXPECT_EQ(sink.system_cursor_id(nullptr), 0);
}

}  // namespace
