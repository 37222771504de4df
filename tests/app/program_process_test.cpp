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
#include <string>
#include <thread>

#include "app/program_image.h"
#include "app/routines.h"
#include "runtime/host_app.h"
#include "tests/app/support/finder.h"
#include "tests/app/support/lyric_server.h"
#include "tests/support/eventually.h"
#include "tests/support/xvfb_session.h"
#include "ui/system/window_system_table.h"

namespace {

// Waits for work of another thread or process, with a deadline for a loaded machine.
bool eventually(const std::function<bool()>& done, std::chrono::milliseconds deadline = std::chrono::seconds(15)) {
  return test_support::eventually(done, deadline);
}

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr char kChildVariable[] = "LYRICS_FINDER_CHILD";

// Runs this program's child test named `name` with the extra environment; answers its exit code.
std::optional<int> run_child(const std::string& name, std::vector<std::string> env) {
  env.push_back(std::string(kChildVariable) + "=1");
  pid_t child = test_support::spawn({test_support::self_path(), "--gtest_also_run_disabled_tests",
                                     "--gtest_filter=FinderChild.DISABLED_" + name},
                                    env);
  if (child <= 0) return std::nullopt;
  return test_support::wait_child(child, 120s);
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
  pid_t child = test_support::spawn({test_support::self_path(), "--gtest_also_run_disabled_tests",
                                     "--gtest_filter=FinderChild.DISABLED_Program"},
                                    {"DISPLAY=" + xvfb.display(), "LYRICS_DISPLAY=sdl",
                                     "LYRICS_MESSAGEBOX=default", std::string(kChildVariable) + "=1"});
  ASSERT_GT(child, 0);
  std::string window;
  ASSERT_TRUE(eventually([&] {
    window = test_support::output_of(x + "search --onlyvisible --name Veskar 2>/dev/null | head -n1");
    return !window.empty();
  })) << "the main window did not appear";
  window.pop_back();
  const std::string geometry = test_support::output_of(x + "getwindowgeometry --shell " + window);
  int left = 0, top = 0;
  std::sscanf(geometry.c_str() + geometry.find("X="), "X=%d\nY=%d", &left, &top);
  auto at = [&](int cx, int cy) {
    return " mousemove " + std::to_string(left + cx) + " " + std::to_string(top + cy) + " ";
  };

  std::system((x + at(136, 208) + "click 1 sleep 0.3 type --delay 100 '歌词'").c_str());
  std::system((x + at(368, 252) + "click 1").c_str());
  EXPECT_TRUE(eventually([&] { return requested(server, search); })) << "the typed search never arrived";
  std::system((x + at(40, 38) + "sleep 1 click --repeat 2 --delay 60 1").c_str());
  EXPECT_TRUE(eventually([&] {
    return requested(server, "/lrc/1.lrc") && requested(server, "/api/cover/1");
  })) << "the preview fetched nothing";
  std::system((x + at(40, 38) + "click 3 sleep 0.5 mousemove_relative 12 8 click 1").c_str());
  EXPECT_TRUE(eventually([&] { return fs::exists(saved) && fs::file_size(saved) > 0; }))
      << "nothing downloaded";
  std::ifstream in(saved, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "[00:01.00]歌词\n");

  kill(child, SIGTERM);
  test_support::wait_child(child, 20s);
  fs::remove(saved);
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

TEST(FinderChild, DISABLED_Program) {
  if (std::getenv(kChildVariable) == nullptr) GTEST_SKIP();
  ui::install_window_system();
  std::exit(runtime::run_program(app::program_image(), &app::main));
}

}  // namespace
