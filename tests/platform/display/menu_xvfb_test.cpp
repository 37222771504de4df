// A pop-up menu on the SDL display under a private Xvfb server: a real window appears at the
// requested screen point and an xdotool click on an item reaches the owner as WM_COMMAND. The
// backend is chosen once per process, so the parent starts Xvfb and runs the checks in a child
// copy of this program with LYRICS_DISPLAY=sdl.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/api.h"
#include "platform/api/menu.h"
#include "platform/display/backend.h"
#include "tests/support/display_pump.h"
#include "tests/support/sdl_child.h"
#include "tests/support/xvfb_session.h"

namespace {

using test_support::spawn;
using test_support::wait_child;

TEST(MenuUnderXvfb, PopupIsARealWindowAndTakesAnXdotoolClick) {
  test_support::expect_sdl_child_passes("MenuSdlChild.DISABLED_*", "LYRICS_MENU_SDL_CHILD");
}

// --- the child: runs with the SDL backend on the private server ---

constexpr int kMenuX = 300, kMenuY = 200;
constexpr UINT kGiveUpTimer = 7;

struct ChildState {
  std::vector<WPARAM> commands;
  std::string typed;  // characters the owner received
  pid_t driver = -1;
  std::string report;  // where the driver writes what it saw
};

ChildState& child_state() {
  static ChildState s;
  return s;
}

LRESULT CALLBACK owner_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  ChildState& s = child_state();
  switch (msg) {
    case WM_ENTERIDLE:
      // The menu is up: an outside program points at the second item and clicks it. It runs on
      // its own, as the menu loop must keep reading the display meanwhile.
      if (wp == MSGF_MENU && s.driver < 0) {
        int x = kMenuX + 30, y = kMenuY + 3 + 19 + 9;
        // Waits (up to ten seconds) until the menu's own window is under the pointer, so a
        // slow start of the window on a busy machine doesn't send the click elsewhere.
        std::string script = "for i in $(seq 100); do xdotool mousemove " + std::to_string(x) + " " +
                             std::to_string(y) +
                             "; sleep 0.1; eval $(xdotool getmouselocation --shell); "
                             "xdotool getwindowgeometry $WINDOW > " +
                             s.report + "; grep -q 'Position: " + std::to_string(kMenuX) + "," +
                             std::to_string(kMenuY) + "' " + s.report + " && break; done; xdotool click 1";
        s.driver = spawn({"/bin/sh", "-c", script}, {});
        SetTimer(hwnd, kGiveUpTimer, 15000, nullptr);
      }
      return 0;
    case WM_TIMER:
      if (wp == kGiveUpTimer) {
        KillTimer(hwnd, kGiveUpTimer);
        EndMenu();
      }
      return 0;
    case WM_COMMAND:
      s.commands.push_back(wp);
      return 0;
    case WM_CHAR:
      s.typed.push_back(static_cast<char>(wp));
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wp, lp);
  }
}

TEST(MenuSdlChild, DISABLED_PopupAtPointTakesClick) {
  if (!std::getenv("LYRICS_MENU_SDL_CHILD")) GTEST_SKIP() << "runs only as the child of MenuUnderXvfb";
  ASSERT_EQ(platform::display::backend().name(), "sdl") << "the SDL display did not start";
  ChildState& s = child_state();
  s.report = "/tmp/menu_xvfb_" + std::to_string(getpid()) + ".txt";

  WNDCLASSA wc{};
  wc.lpfnWndProc = owner_proc;
  wc.lpszClassName = "MenuXvfbOwner";
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
  ASSERT_TRUE(RegisterClassA(&wc));
  HWND owner = CreateWindowExA(0, "MenuXvfbOwner", "menu owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700, 400,
                               300, 200, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(owner);
  SetActiveWindow(owner);
  ASSERT_FALSE(test_support::x_window_named("menu owner").empty()) << "the owner never reached the X server";

  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, 501, "First");
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING, 502, "Second");
  ASSERT_TRUE(TrackPopupMenu(menu, TPM_RIGHTBUTTON, kMenuX, kMenuY, 0, owner, nullptr));
  if (s.driver > 0) wait_child(s.driver, std::chrono::seconds(20));
  test_support::pump_until([&] { return !s.commands.empty(); }, std::chrono::seconds(3));
  EXPECT_EQ(s.commands, (std::vector<WPARAM>{502})) << "the click on \"Second\" did not arrive";

  std::ifstream in(s.report);
  std::stringstream seen;
  seen << in.rdbuf();
  std::remove(s.report.c_str());
  std::string geometry = seen.str();
  int gx = -1, gy = -1, gw = 0, gh = 0;
  auto pos = geometry.find("Position: ");
  auto size = geometry.find("Geometry: ");
  ASSERT_NE(pos, std::string::npos) << "no X window under the pointer: " << geometry;
  ASSERT_NE(size, std::string::npos) << geometry;
  std::sscanf(geometry.c_str() + pos, "Position: %d,%d", &gx, &gy);
  std::sscanf(geometry.c_str() + size, "Geometry: %dx%d", &gw, &gh);
  EXPECT_EQ(gx, kMenuX) << geometry;
  EXPECT_EQ(gy, kMenuY) << geometry;
  EXPECT_EQ(gh, 3 + 19 + 9 + 19 + 3) << "the X window is the menu itself";

  // The menu gone, keys typed with the pointer away from every window reach its owner.
  test_support::output_of("xdotool mousemove 5 5");
  test_support::run_pumping("xdotool type --delay 60 'ab'");
  EXPECT_TRUE(test_support::pump_until([&] { return s.typed.size() >= 2; })) << "typed: '" << s.typed << "'";
  EXPECT_EQ(s.typed, "ab");
  DestroyMenu(menu);
  DestroyWindow(owner);
}

}  // namespace
