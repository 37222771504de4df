// The SDL display driven from outside, under a private Xvfb server, with xdotool: the window's
// UTF-8 title, its placement and size, clicks, double clicks and typed text (Latin and Chinese).
// The backend is chosen once per process, so the parent starts Xvfb and runs the real checks
// in a child copy of this test program with LYRICS_DISPLAY=sdl.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/api.h"
#include "platform/display/backend.h"
#include "tests/support/headless_recorder.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

bool on_path(const std::string& program) {
  std::string cmd = "command -v " + program + " >/dev/null 2>&1";
  return std::system(cmd.c_str()) == 0;
}

// Runs a shell command and returns its standard output.
std::string run(const std::string& cmd) {
  std::string out;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return out;
  char buf[256];
  while (fgets(buf, sizeof buf, p)) out += buf;
  pclose(p);
  return out;
}

pid_t spawn(const std::vector<std::string>& args, const std::vector<std::string>& extra_env) {
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<std::string> env_store(extra_env);
  for (char** e = environ; *e; ++e) {
    std::string entry(*e);
    bool replaced = false;
    for (const auto& x : extra_env)
      replaced = replaced || entry.substr(0, entry.find('=')) == x.substr(0, x.find('='));
    if (!replaced) env_store.push_back(entry);
  }
  std::vector<char*> envp;
  for (auto& e : env_store) envp.push_back(e.data());
  envp.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), envp.data()) != 0) return -1;
  return pid;
}

// Waits for a child; nullopt when it did not end in time (it is killed then).
std::optional<int> wait_child(pid_t pid, std::chrono::seconds limit) {
  auto deadline = Clock::now() + limit;
  while (Clock::now() < deadline) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  return std::nullopt;
}

// A private X server on a free display number, ended with the object.
class Xvfb {
 public:
  Xvfb() {
    int fds[2];
    if (pipe(fds) != 0) return;
    pid_ = spawn(
        {"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1280x800x24", "-nolisten", "tcp"},
        {});
    close(fds[1]);
    pollfd pfd{fds[0], POLLIN, 0};
    std::string number;
    while (pid_ > 0 && poll(&pfd, 1, 10000) > 0) {
      char c;
      if (read(fds[0], &c, 1) != 1 || c == '\n') break;
      number.push_back(c);
    }
    close(fds[0]);
    if (!number.empty()) display_ = ":" + number;
  }
  ~Xvfb() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      wait_child(pid_, std::chrono::seconds(10));
    }
  }
  const std::string& display() const { return display_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

TEST(SdlUnderXvfb, RealWindowTakesXdotoolInput) {
  if (!on_path("Xvfb") || !on_path("xdotool"))
    GTEST_SKIP() << "Xvfb or xdotool is not installed; the SDL display is not exercised";
  Xvfb server;
  ASSERT_FALSE(server.display().empty()) << "Xvfb did not report a display number";
  char self[4096] = {};
  ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  ASSERT_GT(n, 0);
  // SDL's session-bus connection keeps memory to the end of the process; in sanitizer builds
  // that is not a fault of ours.
  std::string suppressions =
      (std::filesystem::temp_directory_path() / ("lyr_sdl_lsan_" + std::to_string(getpid()))).string();
  { std::ofstream(suppressions) << "leak:libdbus-1.so\n"; }
  pid_t child = spawn({self, "--gtest_also_run_disabled_tests", "--gtest_filter=SdlChild.DISABLED_*"},
                      {"DISPLAY=" + server.display(), "LYRICS_DISPLAY=sdl", "LYRICS_SDL_CHILD=1",
                       "LSAN_OPTIONS=print_suppressions=0:suppressions=" + suppressions});
  ASSERT_GT(child, 0);
  auto code = wait_child(child, std::chrono::seconds(120));
  std::filesystem::remove(suppressions);
  ASSERT_TRUE(code.has_value()) << "the SDL child did not finish in time";
  EXPECT_EQ(*code, 0) << "the SDL child failed; its output is above";
}

// --- the child: runs with the SDL backend on the private server ---

class Pump {
 public:
  // Dispatches messages until `done` holds or the time is up.
  template <typename Done>
  static bool until(Done done, std::chrono::milliseconds limit = std::chrono::milliseconds(4000)) {
    auto deadline = Clock::now() + limit;
    while (Clock::now() < deadline) {
      MSG m;
      while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
      }
      if (done()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return done();
  }
};

// Runs a command while this thread keeps serving its window: xdotool remaps a spare key for
// characters the keyboard lacks and restores it right after, so the program must read the key
// while the mapping is still in place.
void run_pumping(const std::string& cmd) {
  pid_t pid = spawn({"/bin/sh", "-c", cmd}, {});
  if (pid <= 0) return;
  Pump::until(
      [pid] {
        int status = 0;
        return waitpid(pid, &status, WNOHANG) == pid;
      },
      std::chrono::milliseconds(20000));
}

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
  Pump::until([] { return false; }, std::chrono::milliseconds(500));

  std::string id;
  for (int i = 0; i < 50 && id.empty(); ++i) {
    id = run("xdotool search --name '歌词搜索' 2>/dev/null | head -n 1");
    while (!id.empty() && (id.back() == '\n' || id.back() == '\r')) id.pop_back();
    if (id.empty()) Pump::until([] { return false; }, std::chrono::milliseconds(100));
  }
  ASSERT_FALSE(id.empty()) << "no X window carries the UTF-8 title";

  // Without a window manager there is no native frame: the X window is the client area.
  std::string geometry = run("xdotool getwindowgeometry " + id);
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

  run("xdotool mousemove --window " + id + " 50 60 click 1");
  ASSERT_TRUE(Pump::until([&] { return !rec.messages({WM_LBUTTONUP}).empty(); }))
      << "the click never arrived";
  auto downs = rec.messages({WM_LBUTTONDOWN});
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_EQ(GET_X_LPARAM(downs[0].lp), 50);
  EXPECT_EQ(GET_Y_LPARAM(downs[0].lp), 60);

  Pump::until([] { return false; }, std::chrono::milliseconds(700));  // not part of the next pair
  rec.clear();
  run("xdotool mousemove --window " + id + " 80 90 click --repeat 2 --delay 80 1");
  ASSERT_TRUE(Pump::until([&] { return rec.messages({WM_LBUTTONUP}).size() >= 2; }));
  auto dbl = rec.messages({WM_LBUTTONDBLCLK});
  ASSERT_EQ(dbl.size(), 1u);
  EXPECT_EQ(GET_X_LPARAM(dbl[0].lp), 80);

  run("xdotool windowfocus " + id);
  Pump::until([] { return false; }, std::chrono::milliseconds(300));
  rec.clear();
  run_pumping("xdotool type --delay 60 'ab'");
  EXPECT_TRUE(Pump::until([&] { return chars_of(rec).size() >= 2; })) << "typed: '" << chars_of(rec) << "'";
  EXPECT_EQ(chars_of(rec), "ab");
  EXPECT_EQ(rec.messages({WM_KEYDOWN}).size(), 2u);

  rec.clear();
  run("xdotool key Return Tab BackSpace");
  EXPECT_TRUE(Pump::until([&] { return chars_of(rec).size() >= 3; }));
  EXPECT_EQ(chars_of(rec), "\r\t\b");

  rec.clear();
  run_pumping("xdotool type --delay 150 '中文'");
  EXPECT_TRUE(Pump::until([&] { return chars_of(rec).size() >= 4; })) << "typed: '" << chars_of(rec) << "'";
  EXPECT_EQ(chars_of(rec), "\xD6\xD0\xCE\xC4");
  DestroyWindow(top);
}

}  // namespace
