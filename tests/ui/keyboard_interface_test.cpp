#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/api/input.h"
#include "platform/api/kernel.h"
#include "platform/api/user.h"
#include "platform/winsys/headless.h"
#include "tests/ui/property_test_support.h"
#include "ui/events/pre_translate.h"

namespace access_test {
namespace {

constexpr std::uint32_t kWindow = 0x52000080;
constexpr std::uint32_t kOwn = 0x06000080;
constexpr std::uint32_t kEditA = 0x16000081;
constexpr std::uint32_t kDefault = 0x16000082;
constexpr std::uint32_t kEditB = 0x16000083;
constexpr std::uint32_t kLabel = 0x16000084;
constexpr std::uint32_t kGo = 0x16000085;
constexpr std::uint32_t kNotes = 0x16000086;

constexpr int kDefaultHandler = 1;
constexpr int kGoHandler = 2;

// Units in template order: 1 edit A, 2 default button, 3 edit B, 4 label (no tab stop),
// 5 button "&Go", 6 multi-line edit.
class KeyboardInterface : public AccessTest {
 protected:
  void compose(bool escape_closes, bool enter_moves_focus, const std::string& help_file = "") {
    auto& window = templates_.add_window(kWindow, kOwn, window_block([&](ui::WindowProperties& p) {
                                           p.escape_closes = escape_closes;
                                           p.enter_moves_focus = enter_moves_focus;
                                           p.f1_help = !help_file.empty();
                                           p.help_file = help_file;
                                           p.help_context = 7;
                                         }));
    templates_.add_unit(window, kEditA, 0x00010005, {10, 10, 100, 22}, kVisible | kTabStop, edit_block());
    templates_.add_unit(window, kDefault, 0x0001000B, {120, 10, 80, 22}, kVisible | kTabStop,
                        button_block("OK", true), {bind(0, kDefaultHandler)});
    templates_.add_unit(window, kEditB, 0x00010005, {10, 40, 100, 22}, kVisible | kTabStop, edit_block());
    templates_.add_unit(window, kLabel, 0x0001000A, {10, 70, 100, 22}, kVisible, label_block("label"));
    templates_.add_unit(window, kGo, 0x0001000B, {120, 40, 80, 22}, kVisible | kTabStop, button_block("&Go"),
                        {bind(0, kGoHandler)});
    templates_.add_unit(window, kNotes, 0x00010005, {10, 100, 200, 60}, kVisible | kTabStop,
                        edit_block("", true));
    start(kWindow);
    SetActiveWindow(native(0, 0));
    handler_log().calls.clear();
  }

  void focus(std::size_t unit) {
    SetFocus(native(0, unit));
    ASSERT_EQ(GetFocus(), native(0, unit));
  }

  void press(UINT vk) {
    platform::headless::key_press(vk);
    ui_test::pump();
  }

  int calls_of(int handler) const {
    int n = 0;
    for (const HandlerCall& c : handler_log().calls) n += c.handler == handler ? 1 : 0;
    return n;
  }
};

TEST_F(KeyboardInterface, TabAndShiftTabFollowTemplateOrderSkippingUnitsWithoutTabStop) {
  compose(false, false);
  focus(1);
  press(VK_TAB);
  EXPECT_EQ(GetFocus(), native(0, 2));
  press(VK_TAB);
  EXPECT_EQ(GetFocus(), native(0, 3));
  press(VK_TAB);
  EXPECT_EQ(GetFocus(), native(0, 5)) << "the label is no tab stop";
  press(VK_TAB);
  EXPECT_EQ(GetFocus(), native(0, 6));
  press(VK_TAB);
  EXPECT_EQ(GetFocus(), native(0, 1)) << "round again";

  platform::headless::key_down(VK_SHIFT);
  press(VK_TAB);
  EXPECT_EQ(GetFocus(), native(0, 6));
  press(VK_TAB);
  EXPECT_EQ(GetFocus(), native(0, 5));
  platform::headless::key_up(VK_SHIFT);
  ui_test::pump();

  // A disabled unit is passed over.
  EnableWindow(native(0, 3), FALSE);
  focus(2);
  press(VK_TAB);
  EXPECT_EQ(GetFocus(), native(0, 5));
}

TEST_F(KeyboardInterface, EnterClicksTheDefaultButtonUnlessTheFocusedUnitWantsIt) {
  compose(false, false);
  focus(3);
  press(VK_RETURN);
  EXPECT_EQ(calls_of(kDefaultHandler), 1);
  EXPECT_EQ(GetFocus(), native(0, 3));

  // The multi-line box keeps Enter for itself: a new line, no click.
  focus(6);
  press(VK_RETURN);
  EXPECT_EQ(calls_of(kDefaultHandler), 1);
  char text[16] = {};
  GetWindowTextA(native(0, 6), text, sizeof text);
  EXPECT_STREQ(text, "\r\n");

  // A disabled default button is not clicked.
  EnableWindow(native(0, 2), FALSE);
  focus(1);
  press(VK_RETURN);
  EXPECT_EQ(calls_of(kDefaultHandler), 1);
  EXPECT_EQ(calls_of(kGoHandler), 0) << "a normal button is no default button";
}

TEST_F(KeyboardInterface, EnterMovesTheFocusWhenTheWindowSaysSo) {
  compose(false, true);
  focus(1);
  press(VK_RETURN);
  EXPECT_EQ(GetFocus(), native(0, 2));
  EXPECT_EQ(calls_of(kDefaultHandler), 0);
  // On the default button itself Enter clicks it.
  press(VK_RETURN);
  EXPECT_EQ(calls_of(kDefaultHandler), 1);
}

TEST_F(KeyboardInterface, EscapeClosesOnlyWhenSwitchedOn) {
  compose(false, false);
  focus(1);
  press(VK_ESCAPE);
  EXPECT_TRUE(IsWindow(native(0, 0)));
}

TEST_F(KeyboardInterface, EscapeClosesTheWindowWhenSwitchedOn) {
  compose(true, false);
  HWND window = native(0, 0);
  focus(1);
  press(VK_ESCAPE);
  EXPECT_FALSE(IsWindow(window));
}

// The first line written into the named pipe, waiting for its writer as long as a loaded
// machine may take to start it; "" when none comes within a minute.
std::string line_from_pipe(const std::string& fifo) {
  const int fd = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  if (fd < 0) return "";
  std::string text;
  pollfd p{fd, POLLIN, 0};
  // The writer writes its line and closes; a reader that never had a writer sees nothing.
  while (text.find('\n') == std::string::npos && poll(&p, 1, 60'000) > 0) {
    char buffer[256];
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n > 0) {
      text.append(buffer, static_cast<std::size_t>(n));
    } else if (n == 0) {
      break;
    }
  }
  close(fd);
  return text.substr(0, text.find('\n'));
}

// The help viewer is a script that writes the file it was asked to open into a pipe.
TEST_F(KeyboardInterface, F1HandsAnExistingHelpFileToTheViewer) {
  const std::string dir = ::testing::TempDir();
  const std::string help = dir + "/program.hlp";
  const std::string opened = dir + "/opened.fifo";
  const std::string viewer = dir + "/viewer.sh";
  std::remove(opened.c_str());
  ASSERT_EQ(mkfifo(opened.c_str(), 0600), 0);
  std::ofstream(help) << "help";
  std::ofstream(viewer) << "#!/bin/sh\necho \"$1\" > " << opened << "\n";
  chmod(viewer.c_str(), 0755);
  setenv("LYRICS_HELP_VIEWER", viewer.c_str(), 1);

  compose(false, false, help);
  focus(1);
  press(VK_F1);
  EXPECT_EQ(line_from_pipe(opened), help);
  unsetenv("LYRICS_HELP_VIEWER");
  std::remove(opened.c_str());
}

TEST_F(KeyboardInterface, F1WithoutAHelpFileIsAnOrdinaryKey) {
  EXPECT_FALSE(WinHelpA(nullptr, "/nonexistent/dir/program.hlp", HELP_FINDER, 0));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  compose(false, false, "/nonexistent/dir/program.hlp");
  focus(1);
  press(VK_F1);
  EXPECT_TRUE(IsWindow(native(0, 0)));
  EXPECT_EQ(GetFocus(), native(0, 1));
}

TEST_F(KeyboardInterface, AltWithAMnemonicClicksTheButton) {
  compose(false, false);
  focus(1);
  platform::headless::key_down(VK_MENU);
  platform::headless::key_press('G');
  platform::headless::key_up(VK_MENU);
  ui_test::pump();
  EXPECT_EQ(calls_of(kGoHandler), 1);
  platform::headless::key_down(VK_MENU);
  platform::headless::key_press('K');  // "OK" has no mnemonic
  platform::headless::key_up(VK_MENU);
  ui_test::pump();
  EXPECT_EQ(calls_of(kDefaultHandler), 0);
}

}  // namespace
}  // namespace access_test
