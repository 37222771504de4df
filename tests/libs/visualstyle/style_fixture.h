// Controls on a test window with the visual styles switched on and off, and the pixel checks
// the painter tests share. Styles are always switched off again after a test.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "libs/visualstyle/control_record.h"
#include "libs/visualstyle/palette.h"
#include "libs/visualstyle/subclassing.h"
#include "tests/platform/controls/controls_fixture.h"

namespace vs_test {

using libs::visualstyle::Quad;

// The colour of a pixel of a control's whole window (non-client area included), read where the
// control shows on its parent.
inline COLORREF window_pixel(HWND control, int x, int y) {
  RECT r{};
  GetWindowRect(control, &r);
  POINT p{r.left + x, r.top + y};
  HWND parent = GetParent(control);
  ScreenToClient(parent, &p);
  return platform::headless::read_pixel(parent, p.x, p.y);
}

inline int channel_gap(COLORREF a, COLORREF b) {
  const int dr = std::abs(GetRValue(a) - GetRValue(b));
  const int dg = std::abs(GetGValue(a) - GetGValue(b));
  const int db = std::abs(GetBValue(a) - GetBValue(b));
  return std::max({dr, dg, db});
}

inline std::string hex(COLORREF c) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%06X", static_cast<unsigned>(c));
  return text;
}

// True when `actual` is within `tolerance` of `expected` in every channel.
inline ::testing::AssertionResult near_colour(COLORREF actual, COLORREF expected, int tolerance) {
  if (channel_gap(actual, expected) <= tolerance) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << hex(actual) << " is not within " << tolerance << " of " << hex(expected);
}

inline ::testing::AssertionResult same_colour(COLORREF actual, COLORREF expected) {
  return near_colour(actual, expected, 0);
}

class StyleTest : public controls_test::ControlsTest {
 protected:
  void TearDown() override {
    libs::visualstyle::set_visual_style(0);
    ControlsTest::TearDown();
  }

  HWND make(const char* cls, DWORD style, RECT r, const char* text = "", DWORD ex_style = 0,
            HWND parent = nullptr) {
    HWND w =
        CreateWindowExA(ex_style, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                        r.bottom - r.top, parent != nullptr ? parent : parent_, nullptr, nullptr, nullptr);
    EXPECT_NE(w, nullptr) << cls;
    return w;
  }

  static WNDPROC procedure_of(HWND w) {
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(w, GWLP_WNDPROC));
  }
  static bool styled(HWND w) { return procedure_of(w) == &libs::visualstyle::styled_procedure; }
  static std::uint32_t flags_of(HWND w) {
    const libs::visualstyle::ControlRecord* r = libs::visualstyle::find_record(w);
    return r != nullptr ? r->flags : 0;
  }
};

}  // namespace vs_test
