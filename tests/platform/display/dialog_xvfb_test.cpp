// Owned windows and the keyboard on the SDL display under a private Xvfb server without a
// window manager: a message box is a dialog transient for its owner with no minimise or
// maximise function, a fixed border is not resizable, and once the box closes the keys typed
// reach its owner. The backend is chosen once per process, so the parent starts Xvfb and runs
// the checks in a child copy of this program with LYRICS_DISPLAY=sdl.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/api.h"
#include "platform/display/backend.h"
#include "tests/support/display_pump.h"
#include "tests/support/headless_recorder.h"
#include "tests/support/sdl_child.h"
#include "tests/support/x11/window_manager.h"
#include "tests/support/xvfb_session.h"

namespace {

using namespace std::chrono_literals;
using test_support::output_of;

TEST(DialogUnderXvfb, MessageBoxIsATransientDialogAndGivesTheKeysBack) {
  test_support::expect_sdl_child_passes("DialogSdlChild.DISABLED_*", "LYRICS_DIALOG_SDL_CHILD",
                                        {"Xvfb", "xdotool", "xprop"});
}

// --- the child: runs with the SDL backend on the private server ---

constexpr const char* kOwnerTitle = "dialog-owner";
constexpr const char* kBoxTitle = "dialog-box";

// What xprop says of X window `id`'s properties `names`, once it has all of them (a window's
// properties may follow its mapping); with "not found" lines when some never came.
std::string x_properties(const std::string& id, const std::string& names) {
  std::string said;
  test_support::pump_until([&] {
    said = output_of("xprop -id " + id + " " + names);
    return !said.empty() && said.find("not found") == std::string::npos;
  });
  return said;
}

// What xprop saw of the box while it was up; filled by the timer that then closes the box.
std::string& box_properties() {
  static std::string seen;
  return seen;
}

void CALLBACK inspect_and_close_box(HWND owner, UINT, UINT_PTR id, DWORD) {
  KillTimer(owner, id);
  const std::string box = test_support::x_window_named(kBoxTitle);
  if (!box.empty())
    box_properties() = x_properties(box, "WM_TRANSIENT_FOR _NET_WM_WINDOW_TYPE _MOTIF_WM_HINTS");
  // The box answers Esc (its escape answer) like a close from its frame.
  PostMessageA(GetActiveWindow(), WM_CLOSE, 0, 0);
}

std::string chars_of(const lyr::test::Recorder& rec) {
  std::string s;
  for (const auto& m : rec.messages({WM_CHAR})) s.push_back(static_cast<char>(m.wp));
  return s;
}

TEST(DialogSdlChild, DISABLED_OwnedBoxAndFixedOwner) {
  if (!std::getenv("LYRICS_DIALOG_SDL_CHILD")) GTEST_SKIP() << "runs only as the child of DialogUnderXvfb";
  ASSERT_EQ(platform::display::backend().name(), "sdl") << "the SDL display did not start";

  lyr::test::Recorder rec;
  // The program's main window: fixed border, minimise box, no maximise box.
  HWND owner =
      rec.top({100, 100, 420, 340}, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE, kOwnerTitle);
  ASSERT_TRUE(owner);
  SetActiveWindow(owner);
  SetFocus(owner);
  const std::string owner_id = test_support::x_window_named(kOwnerTitle);
  ASSERT_FALSE(owner_id.empty());
  const std::string owner_props = x_properties(owner_id, "_MOTIF_WM_HINTS WM_NORMAL_HINTS");
  // Functions: move, minimise and close; no resize, no maximise.
  EXPECT_NE(owner_props.find("= 0x3, 0x2c,"), std::string::npos) << owner_props;
  const std::string fixed = std::to_string(320 - 2 * GetSystemMetrics(SM_CXFIXEDFRAME));
  EXPECT_NE(owner_props.find("minimum size: " + fixed), std::string::npos) << owner_props;
  EXPECT_NE(owner_props.find("maximum size: " + fixed), std::string::npos) << owner_props;

  SetTimer(owner, 1, 300, &inspect_and_close_box);
  MessageBoxA(owner, "text", kBoxTitle, MB_OK);
  const std::string& box = box_properties();
  ASSERT_FALSE(box.empty()) << "the box was never seen";
  char owner_hex[32];
  std::snprintf(owner_hex, sizeof owner_hex, "0x%lx", std::strtoul(owner_id.c_str(), nullptr, 10));
  EXPECT_NE(box.find(std::string("window id # ") + owner_hex), std::string::npos) << box;
  EXPECT_NE(box.find("_NET_WM_WINDOW_TYPE_DIALOG"), std::string::npos) << box;
  EXPECT_NE(box.find("= 0x3, 0x24,"), std::string::npos) << "move and close only: " << box;

  // With the pointer away from every window, the keys go where the input focus was put.
  ASSERT_TRUE(test_support::pump_until([&] {
    return test_support::x_input_focus("") == std::strtoul(owner_id.c_str(), nullptr, 10);
  })) << "the owner never got the keyboard back";
  output_of("xdotool mousemove 1200 750");
  rec.clear();
  test_support::run_pumping("xdotool type --delay 60 'ab'");
  EXPECT_TRUE(test_support::pump_until([&] { return chars_of(rec).size() >= 2; }))
      << "typed after the box closed: '" << chars_of(rec) << "'";
  EXPECT_EQ(chars_of(rec), "ab");
  DestroyWindow(owner);
}

}  // namespace
