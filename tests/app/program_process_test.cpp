// The finder as a process of its own: a damaged program image ends it through the runtime's
// error report, and under Xvfb with the SDL display a real user session is driven by xdotool.
// Both run in a child copy of this program (the display backend is chosen once per process).
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>

#include "app/main_window.h"
#include "app/program_image.h"
#include "app/routines.h"
#include "platform/api/kernel.h"
#include "platform/api/listview.h"
#include "platform/api/user.h"
#include "runtime/host_app.h"
#include "tests/app/support/finder.h"
#include "tests/app/support/lyric_server.h"
#include "tests/support/eventually.h"
#include "tests/support/x11/window_manager.h"
#include "tests/support/xvfb_session.h"
#include "ui/system/window_system_table.h"

namespace {

// Waits for work of another thread or process, with a deadline for a loaded machine.
bool eventually(const std::function<bool()>& done,
                std::chrono::milliseconds deadline = std::chrono::seconds(15)) {
  return test_support::eventually(done, deadline);
}

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr char kChildVariable[] = "LYRICS_FINDER_CHILD";
// Where the program child reports what its window shows (see report_state).
constexpr char kStateVariable[] = "LYRICS_FINDER_STATE";

// Runs this program's child test named `name` with the extra environment; answers its exit code.
std::optional<int> run_child(const std::string& name, std::vector<std::string> env) {
  env.push_back(std::string(kChildVariable) + "=1");
  pid_t child = test_support::spawn_self("FinderChild.DISABLED_" + name, env);
  if (child <= 0) return std::nullopt;
  return test_support::wait_child(child, 120s);
}

std::string read_all(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool requested(const app_test::LyricServer& server, const std::string& target) {
  for (const std::string& t : server.requests()) {
    if (t == target) return true;
  }
  return false;
}

TEST(FinderProcess, ADamagedProgramImageShowsTheRuntimeErrorAndEndsWithMinusOne) {
  testing::internal::CaptureStderr();
  auto code = run_child("DamagedImage", {"LYRICS_DISPLAY=headless", "LYRICS_MESSAGEBOX=default"});
  const std::string printed = testing::internal::GetCapturedStderr();
  ASSERT_TRUE(code.has_value());
  EXPECT_EQ(*code, 255);
  EXPECT_NE(printed.find("[MessageBox] 错误\n运行时出错!\n\n错误信息：载入窗口模板数据段出错!\n"),
            std::string::npos)
      << printed;
}

TEST(FinderProcess, UnderXvfbAChineseSearchPreviewAndDownloadWork) {
  if (!test_support::on_path("Xvfb") || !test_support::on_path("xdotool"))
    GTEST_SKIP() << "Xvfb or xdotool is not installed; the finder on a real display is not exercised";
  app_test::LyricServer server(app_test::service_port());
  ASSERT_TRUE(server.started());
  const std::string base = app_test::service_base();
  const std::string search = "/api/lyric/%E6%AD%8C%E8%AF%8D/";
  server.reply(search, app_test::search_reply({{"1", base + "/lrc/1.lrc"}}));
  server.reply("/lrc/1.lrc", "[00:01.00]歌词\n", "text/plain");
  server.reply("/api/cover/1", "{\"code\": 404}");
  const fs::path saved = fs::canonical("/proc/self/exe").parent_path() / "歌词 - .lrc";
  fs::remove(saved);

  test_support::Xvfb xvfb;
  ASSERT_FALSE(xvfb.display().empty());
  const std::string x = "DISPLAY=" + xvfb.display() + " xdotool ";
  const fs::path state_file = fs::path(testing::TempDir()) / ("finder-state-" + std::to_string(getpid()));
  fs::remove(state_file);
  pid_t child = test_support::spawn_self(
      "FinderChild.DISABLED_Program",
      {"DISPLAY=" + xvfb.display(), "LYRICS_DISPLAY=sdl", "LYRICS_MESSAGEBOX=default",
       std::string(kChildVariable) + "=1", std::string(kStateVariable) + "=" + state_file.string()});
  ASSERT_GT(child, 0);
  auto shows = [&](const std::string& what) {
    return eventually([&] { return read_all(state_file).find(what) != std::string::npos; });
  };
  const std::string window = test_support::wait_for_x_window(xvfb.display(), "Veskar");
  ASSERT_FALSE(window.empty()) << "the main window did not appear";
  const std::string geometry = test_support::output_of(x + "getwindowgeometry --shell " + window);
  int left = 0, top = 0;
  std::sscanf(geometry.c_str() + geometry.find("X="), "X=%d\nY=%d", &left, &top);
  auto at = [&](int cx, int cy) {
    return " mousemove " + std::to_string(left + cx) + " " + std::to_string(top + cy) + " ";
  };

  std::system((x + at(136, 208) + "click 1").c_str());
  ASSERT_TRUE(shows("focus=title")) << "the click did not put the keyboard in the title box";
  ASSERT_TRUE(test_support::x_map_characters(xvfb.display(), U"歌词"));
  std::system((x + "type --delay 100 '歌词'").c_str());
  std::system((x + at(368, 252) + "click 1").c_str());
  EXPECT_TRUE(eventually([&] { return requested(server, search); })) << "the typed search never arrived";
  ASSERT_TRUE(shows("rows=1")) << "the hit never reached the list";
  std::system((x + at(40, 38) + "click --repeat 2 --delay 60 1").c_str());
  EXPECT_TRUE(eventually([&] {
    return requested(server, "/lrc/1.lrc") && requested(server, "/api/cover/1");
  })) << "the preview fetched nothing";
  // The row's menu is up once a new X window is mapped.
  const std::string mapped = x + "search --onlyvisible --name '.*' 2>/dev/null";
  const std::string before_menu = "\n" + test_support::output_of(mapped);
  std::system((x + at(40, 38) + "click 3").c_str());
  ASSERT_TRUE(eventually([&] {
    std::istringstream now(test_support::output_of(mapped));
    for (std::string id; std::getline(now, id);) {
      if (before_menu.find("\n" + id + "\n") == std::string::npos) return true;
    }
    return false;
  })) << "the row's menu never appeared";
  std::system((x + "mousemove_relative 12 8 click 1").c_str());
  EXPECT_TRUE(eventually([&] { return fs::exists(saved) && fs::file_size(saved) > 0; }))
      << "nothing downloaded";
  EXPECT_EQ(read_all(saved), "[00:01.00]歌词\n");

  kill(child, SIGTERM);
  test_support::wait_child(child, 20s);
  fs::remove(saved);
  fs::remove(state_file);
}

TEST(ShellProgram, WithoutADesktopOpenerItSaysSoAndFails) {
  const std::string shell = (fs::canonical("/proc/self/exe").parent_path() / "explorer.exe").string();
  testing::internal::CaptureStderr();
  pid_t child = test_support::spawn({shell, "http://127.0.0.1:1/"}, {"PATH=/nonexistent"});
  ASSERT_GT(child, 0);
  auto code = test_support::wait_child(child, 20s);
  const std::string printed = testing::internal::GetCapturedStderr();
  ASSERT_TRUE(code.has_value());
  EXPECT_NE(*code, 0);
  EXPECT_NE(printed.find("no desktop opener"), std::string::npos) << printed;
}

// --- the children ---

TEST(FinderChild, DISABLED_DamagedImage) {
  if (std::getenv(kChildVariable) == nullptr) GTEST_SKIP();
  static runtime::ImageHeader damaged = app::program_image();
  damaged.templates_size = 40;  // cut inside the first window's record
  ui::install_window_system();
  std::exit(runtime::run_program(damaged, &app::main));
}

// What the window shows that the parent waits for: the unit with the keyboard and the rows of
// the result list.
std::string finder_state() {
  using namespace app::main_window;
  const HWND focus = GetFocus();
  const HWND list = app_test::main_window_unit(kResultList);
  return std::string("focus=") +
         (focus != nullptr && focus == app_test::main_window_unit(kTitleEdit) ? "title" : "-") +
         " rows=" + std::to_string(list != nullptr ? SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) : 0);
}

// Reports the window's state to the parent each time it changes, checked whenever the program
// reads a message; written whole (by a rename), so the parent never reads half a report.
LRESULT CALLBACK report_state(int code, WPARAM wp, LPARAM lp) {
  static std::string reported;
  if (const char* path = std::getenv(kStateVariable); path != nullptr && code == HC_ACTION) {
    const std::string now = finder_state();
    if (now != reported) {
      reported = now;
      const std::string part = std::string(path) + ".part";
      std::ofstream(part, std::ios::trunc) << now;
      std::error_code failed;  // the parent then times out and says what it waited for
      fs::rename(part, path, failed);
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

TEST(FinderChild, DISABLED_Program) {
  if (std::getenv(kChildVariable) == nullptr) GTEST_SKIP();
  ui::install_window_system();
  SetWindowsHookExA(WH_GETMESSAGE, &report_state, nullptr, GetCurrentThreadId());
  std::exit(runtime::run_program(app::program_image(), &app::main));
}

}  // namespace
