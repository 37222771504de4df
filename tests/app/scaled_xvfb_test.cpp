// The finder on an X screen at 200 % (Xft.dpi 192 set with xrdb): its window is twice the size,
// and a click at the title box's place on the screen lets the user type into it. The finder runs
// in a child copy of this program with the SDL display (the backend is chosen once per process).
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "app/main_window.h"
#include "app/program_image.h"
#include "app/routines.h"
#include "platform/api/user.h"
#include "runtime/host_app.h"
#include "tests/app/support/finder.h"
#include "tests/app/support/lyric_server.h"
#include "tests/app/support/x_dark_pixels.h"
#include "tests/support/eventually.h"
#include "tests/support/xvfb_session.h"
#include "ui/system/window_system_table.h"

namespace {

using namespace std::chrono_literals;
using namespace app::main_window;

constexpr char kChildVariable[] = "LYRICS_SCALED_FINDER_CHILD";

bool eventually(const std::function<bool()>& done) {
  return test_support::eventually(done, 15s);
}

// A unit's rectangle in the main window's client coordinates, as the program lays it out.
RECT unit_rect(std::uint32_t unit) {
  app_test::Finder finder;
  RECT r{};
  GetWindowRect(finder.unit(unit), &r);
  MapWindowPoints(nullptr, finder.window(), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TEST(ScaledFinderProcess, AtXftDpi192TheWindowIsTwiceTheSizeAndTypingShowsWhereClicked) {
  if (!test_support::on_path("Xvfb") || !test_support::on_path("xdotool") || !test_support::on_path("xrdb"))
    GTEST_SKIP() << "Xvfb, xdotool or xrdb is not installed; the scaled finder is not exercised";
  const RECT title = unit_rect(kTitleEdit);
  const RECT search = unit_rect(0x1601001E);  // the search button
  app_test::LyricServer server(app_test::service_port());
  ASSERT_TRUE(server.started());
  server.reply("/api/lyric/abc/", app_test::search_reply({}));

  test_support::Xvfb xvfb("2560x1600x24");  // a 1280 x 800 desktop at 200 %
  ASSERT_FALSE(xvfb.display().empty());
  const std::string env = "DISPLAY=" + xvfb.display() + " ";
  test_support::output_of("echo 'Xft.dpi: 192' | " + env + "xrdb -merge");
  ASSERT_NE(test_support::output_of(env + "xrdb -query").find("192"), std::string::npos);
  pid_t child = test_support::spawn(
      {test_support::self_path(), "--gtest_also_run_disabled_tests",
       "--gtest_filter=ScaledFinderChild.DISABLED_Program"},
      {"DISPLAY=" + xvfb.display(), "LYRICS_DISPLAY=sdl",
       "LYRICS_SCALE=", "GDK_SCALE=", "LYRICS_MESSAGEBOX=default", std::string(kChildVariable) + "=1"});
  ASSERT_GT(child, 0);
  const std::string x = env + "xdotool ";
  const std::string window = test_support::wait_for_x_window(xvfb.display(), "Veskar");
  ASSERT_FALSE(window.empty()) << "the main window did not appear";
  std::string size;
  EXPECT_TRUE(eventually([&] {
    const std::string g = test_support::output_of(x + "getwindowgeometry --shell " + window);
    const auto w = g.find("WIDTH="), h = g.find("HEIGHT=");
    if (w == std::string::npos || h == std::string::npos) return false;
    size = g.substr(w + 6, g.find('\n', w) - w - 6) + "x" + g.substr(h + 7, g.find('\n', h) - h - 7);
    return size == "824x974";
  })) << "the client is "
      << size << " device pixels";

  const std::string geometry = test_support::output_of(x + "getwindowgeometry --shell " + window);
  int left = 0, top = 0;
  std::sscanf(geometry.c_str() + geometry.find("X="), "X=%d\nY=%d", &left, &top);
  auto at = [&](int cx, int cy) {
    return " mousemove " + std::to_string(left + 2 * cx) + " " + std::to_string(top + 2 * cy) + " ";
  };
  // The box's text band in device pixels, inside its border.
  const int bx = 2 * title.left + 8, by = 2 * title.top + 6;
  const int bw = 2 * (title.right - title.left) - 16, bh = 2 * (title.bottom - title.top) - 12;
  int before = -1;
  ASSERT_TRUE(eventually([&] {
    before = app_test::x_dark_pixels(xvfb.display(), window, bx, by, bw, bh);
    return before >= 0 && before < bw * bh / 10;  // painted: the empty box is light
  })) << before
      << " of " << bw * bh << " pixels of the empty box are dark";
  std::system((x + at((title.left + title.right) / 2, (title.top + title.bottom) / 2) +
               "click 1 sleep 0.3 type --delay 80 'abc'")
                  .c_str());
  int after = -1;
  EXPECT_TRUE(eventually([&] {
    after = app_test::x_dark_pixels(xvfb.display(), window, bx, by, bw, bh);
    return after > before + 40;
  })) << "the typed text does not show: "
      << before << " dark pixels before, " << after << " after";
  std::system(
      (x + at((search.left + search.right) / 2, (search.top + search.bottom) / 2) + "click 1").c_str());
  EXPECT_TRUE(eventually([&] {
    for (const std::string& t : server.requests())
      if (t == "/api/lyric/abc/") return true;
    return false;
  })) << "the typed title never reached the search";

  kill(child, SIGTERM);
  test_support::wait_child(child, 20s);
}

TEST(ScaledFinderChild, DISABLED_Program) {
  if (std::getenv(kChildVariable) == nullptr) GTEST_SKIP();
  ui::install_window_system();
  std::exit(runtime::run_program(app::program_image(), &app::main));
}

}  // namespace
