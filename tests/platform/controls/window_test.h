// The base of the control tests: one visible, active top-level window of the fixture's own class
// on the headless display, with fresh input before and the window gone and the queue drained
// after; and reading colours back.
#pragma once

#include <gtest/gtest.h>

#include "platform/api.h"
#include "platform/winsys/headless.h"
#include "tests/support/window_class.h"

namespace controls_test {

namespace hl = platform::headless;

// A WM_COMMAND the parent received.
struct Command {
  int id;
  int code;
  HWND from;
  bool operator==(const Command&) const = default;
};

class WindowTest : public ::testing::Test {
 protected:
  // Called from the fixture's SetUp once its records are cleared.
  void open_parent(const char* class_name, const char* title, RECT r) {
    ASSERT_TRUE(platform::headless::active()) << "these tests need LYRICS_DISPLAY=headless";
    platform::headless::reset_input();
    parent_ = CreateWindowExA(0, class_name, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, r.left, r.top,
                              r.right - r.left, r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent_, nullptr);
    SetActiveWindow(parent_);
    idle();
  }
  void TearDown() override {
    platform::headless::reset_input();
    if (IsWindow(parent_)) DestroyWindow(parent_);
    idle();
  }

  static void idle() { platform::headless::run_until_idle(); }

  HWND parent_ = nullptr;
};

// A test parent that stands in for a dialog: the arrow cursor over a button-face background.
inline test_support::ClassLook dialog_look() {
  return {.arrow_cursor = true, .background = GetSysColorBrush(COLOR_BTNFACE)};
}

inline int luminance(COLORREF c) {
  return (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100;
}

}  // namespace controls_test
