// The SDL display driven from outside, under a private Xvfb server, with xdotool: the window's
// UTF-8 title, its placement and size, the pixels the X server shows, clicks, double clicks,
// typed text (Latin and Chinese), and the window's X counterpart destroyed by another client.
// The backend is chosen once per process, so the parent starts Xvfb and runs the real checks
// in a child copy of this test program with LYRICS_DISPLAY=sdl.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/api.h"
#include "platform/display/backend.h"
#include "tests/support/display_pump.h"
#include "tests/support/headless_recorder.h"
#include "tests/support/sdl_child.h"
#include "tests/support/x11/window_manager.h"
#include "x_pixel.h"

namespace {

using test_support::output_of;
using test_support::pump_until;
using test_support::run_pumping;
using test_support::x_pixel;
using test_support::x_window_named;

TEST(SdlUnderXvfb, RealWindowTakesXdotoolInput) {
  test_support::expect_sdl_child_passes("SdlChild.DISABLED_*", "LYRICS_SDL_CHILD");
}

// --- the child: runs with the SDL backend on the private server ---

std::string chars_of(const lyr::test::Recorder& rec) {
  std::string s;
  for (auto& m : rec.messages({WM_CHAR})) s.push_back(static_cast<char>(m.wp));
  return s;
}

TEST(SdlChild, DISABLED_WindowTitlePlacementAndInput) {
  if (!std::getenv("LYRICS_SDL_CHILD")) GTEST_SKIP() << "runs only as the child of SdlUnderXvfb";
  ASSERT_EQ(platform::display::backend().name(), "sdl") << "the SDL display did not start";

  lyr::test::Recorder rec(CS_DBLCLKS);
  const DWORD style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT frame{0, 0, 400, 300};
  AdjustWindowRectEx(&frame, style, FALSE, 0);
  int w = frame.right - frame.left, h = frame.bottom - frame.top;
  int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  const char* title = "\xB8\xE8\xB4\xCA\xCB\xD1\xCB\xF7";  // "歌词搜索" in the ANSI code page
  HWND top = rec.top({x, y, x + w, y + h}, style | WS_VISIBLE, title);
  ASSERT_TRUE(top);
  SetActiveWindow(top);
  SetFocus(top);

  const std::string id = x_window_named("歌词搜索");
  ASSERT_FALSE(id.empty()) << "no X window carries the UTF-8 title";

  // Without a window manager there is no native frame: the X window is the client area.
  std::string geometry = output_of("xdotool getwindowgeometry " + id);
  int gx = 0, gy = 0, gw = 0, gh = 0;
  auto pos = geometry.find("Position: ");
  auto size = geometry.find("Geometry: ");
  ASSERT_NE(pos, std::string::npos) << geometry;
  ASSERT_NE(size, std::string::npos) << geometry;
  std::sscanf(geometry.c_str() + pos, "Position: %d,%d", &gx, &gy);
  std::sscanf(geometry.c_str() + size, "Geometry: %dx%d", &gw, &gh);
  POINT client{0, 0};
  ClientToScreen(top, &client);
  EXPECT_EQ(gw, 400);
  EXPECT_EQ(gh, 300);
  EXPECT_EQ(gx, client.x);
  EXPECT_EQ(gy, client.y);
  EXPECT_NEAR(gx + gw / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 2) << "centred horizontally";

  // What the window paints is what the X server shows, inside and at the edge of the change.
  HDC dc = GetDC(top);
  HBRUSH brush = CreateSolidBrush(RGB(200, 30, 60));
  RECT patch{20, 30, 120, 90};
  FillRect(dc, &patch, brush);
  DeleteObject(brush);
  ReleaseDC(top, dc);
  EXPECT_TRUE(pump_until([&] { return x_pixel(id, 20, 30) == 0xC81E3Cu; })) << "the patch never showed";
  EXPECT_EQ(x_pixel(id, 119, 89), 0xC81E3Cu);
  EXPECT_NE(x_pixel(id, 120, 89), 0xC81E3Cu);

  output_of("xdotool mousemove --window " + id + " 50 60 click 1");
  ASSERT_TRUE(pump_until([&] { return !rec.messages({WM_LBUTTONUP}).empty(); })) << "the click never arrived";
  auto downs = rec.messages({WM_LBUTTONDOWN});
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_EQ(GET_X_LPARAM(downs[0].lp), 50);
  EXPECT_EQ(GET_Y_LPARAM(downs[0].lp), 60);

  // The pair lands away from the single click, so that click cannot pair with its first half.
  rec.clear();
  output_of("xdotool mousemove --window " + id + " 80 90 click --repeat 2 --delay 80 1");
  ASSERT_TRUE(pump_until([&] { return rec.messages({WM_LBUTTONUP}).size() >= 2; }));
  auto dbl = rec.messages({WM_LBUTTONDBLCLK});
  ASSERT_EQ(dbl.size(), 1u);
  EXPECT_EQ(GET_X_LPARAM(dbl[0].lp), 80);

  output_of("xdotool windowfocus " + id);
  ASSERT_TRUE(pump_until([&] { return test_support::x_input_focus("") == std::stoul(id); }))
      << "the window never got the keyboard";
  rec.clear();
  run_pumping("xdotool type --delay 60 'ab'");
  EXPECT_TRUE(pump_until([&] { return chars_of(rec).size() >= 2; })) << "typed: '" << chars_of(rec) << "'";
  EXPECT_EQ(chars_of(rec), "ab");
  EXPECT_EQ(rec.messages({WM_KEYDOWN}).size(), 2u);

  rec.clear();
  output_of("xdotool key Return Tab BackSpace");
  EXPECT_TRUE(pump_until([&] { return chars_of(rec).size() >= 3; }));
  EXPECT_EQ(chars_of(rec), "\r\t\b");

  rec.clear();
  ASSERT_TRUE(test_support::x_map_characters("", U"中文"));
  run_pumping("xdotool type --delay 150 '中文'");
  EXPECT_TRUE(pump_until([&] { return chars_of(rec).size() >= 4; })) << "typed: '" << chars_of(rec) << "'";
  EXPECT_EQ(chars_of(rec), "\xD6\xD0\xCE\xC4");

  // Another client destroys the X window: the window is asked to close instead of living on
  // unseen.
  rec.clear();
  test_support::x_destroy_window(id);
  EXPECT_TRUE(pump_until([&] { return !rec.messages({WM_CLOSE}).empty(); })) << "no WM_CLOSE";
  DestroyWindow(top);
}

}  // namespace
