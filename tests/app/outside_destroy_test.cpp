// The finder's own program (bin/lyrics-finder) on a private X server, without and with a
// window manager (openbox): when another X client destroys its main window, as
// `xdotool windowclose` does, the program ends with exit code 0 as if its user had closed the
// window, and says at most once that X requests about the vanished window failed.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include "tests/support/eventually.h"
#include "tests/support/x11/window_manager.h"
#include "tests/support/xvfb_session.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

struct Session {
  const char* name;
  bool openbox;
};

int lines_containing(const std::string& text, const std::string& part) {
  std::istringstream in(text);
  int count = 0;
  for (std::string line; std::getline(in, line);) count += line.find(part) != std::string::npos ? 1 : 0;
  return count;
}

class OutsideDestroy : public testing::TestWithParam<Session> {};

TEST_P(OutsideDestroy, EndsTheFinderCleanly) {
  const Session& session = GetParam();
  if (!test_support::on_path("Xvfb") || !test_support::on_path("xdotool"))
    GTEST_SKIP() << "Xvfb or xdotool is not installed; the finder on a real display is not exercised";
  if (session.openbox && !test_support::on_path("openbox"))
    GTEST_SKIP()
        << "openbox is not installed (scripts/install-deps installs it); the finder is not exercised "
           "under a window manager";
  const fs::path finder = fs::canonical("/proc/self/exe").parent_path() / "lyrics-finder";
  ASSERT_TRUE(fs::exists(finder)) << finder << " is not built";

  test_support::Xvfb xvfb;
  ASSERT_FALSE(xvfb.display().empty()) << "Xvfb did not report a display number";
  std::optional<test_support::Openbox> openbox;
  if (session.openbox) {
    openbox.emplace(xvfb.display());
    ASSERT_TRUE(openbox->running()) << openbox->problem();
  }

  const fs::path said = fs::path(testing::TempDir()) /
                        ("finder-outside-destroy-" + std::to_string(getpid()) + "-" + session.name + ".out");
  pid_t program = test_support::spawn(
      {finder.string()}, {"DISPLAY=" + xvfb.display(), "LYRICS_DISPLAY=sdl", "LYRICS_MESSAGEBOX=default"},
      said.string());
  ASSERT_GT(program, 0);

  // The main window is up as its user would have it; under a window manager, managed (framed)
  // by it and given the keyboard.
  const std::string x = "DISPLAY=" + xvfb.display() + " xdotool ";
  std::string window;
  test_support::XWindowFacts facts;
  unsigned long focus = 0;
  const bool shown = test_support::eventually(
      [&] {
        window = test_support::output_of(x + "search --onlyvisible --name Veskar 2>/dev/null | head -n1");
        if (window.empty()) return false;
        const unsigned long id = std::stoul(window);
        facts = test_support::x_window_facts(xvfb.display(), id);
        focus = test_support::x_input_focus(xvfb.display());
        return facts.exists &&
               (!session.openbox || (facts.managed && !facts.allowed_actions.empty() && focus == id));
      },
      60s);
  if (!shown) test_support::wait_child(program, 0s);  // no time left: ends it
  ASSERT_TRUE(shown) << "the main window did not appear" << (session.openbox ? " under openbox" : "")
                     << " (window '" << window << "', managed " << facts.managed << ", focus " << focus
                     << ")";
  window.pop_back();

  // Another client destroys it (XDestroyWindow).
  test_support::output_of(x + "windowclose " + window);
  const auto code = test_support::wait_child(program, 60s);

  std::ifstream in(said);
  const std::string printed((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  fs::remove(said);
  ASSERT_TRUE(code.has_value()) << "the finder ran on without its window; it said:\n" << printed;
  EXPECT_EQ(*code, 0) << printed;
  EXPECT_LE(lines_containing(printed, "X11: request"), 1) << printed;
}

INSTANTIATE_TEST_SUITE_P(Sessions, OutsideDestroy,
                         testing::Values(Session{"bare", false}, Session{"openbox", true}),
                         [](const testing::TestParamInfo<Session>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
