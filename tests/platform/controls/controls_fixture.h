// A top-level test window that records what its controls tell it, plus pixel helpers.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/api.h"
#include "platform/kernel/codepage.h"
#include "platform/winsys/headless.h"
#include "tests/platform/controls/window_test.h"
#include "tests/support/code_page_text.h"
#include "tests/support/window_class.h"

namespace controls_test {

// What the test parent window received; one instance for the test process (tests run on
// one thread).
struct ParentLog {
  std::vector<Command> commands;
  std::vector<DRAWITEMSTRUCT> draw_items;
  HBRUSH static_brush = nullptr;      // answer to WM_CTLCOLORSTATIC when set
  COLORREF static_text = 0xFFFFFFFF;  // text colour set on WM_CTLCOLORSTATIC when not CLR_INVALID
};

inline ParentLog& parent_log() {
  static ParentLog log;
  return log;
}

inline LRESULT CALLBACK test_parent_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  ParentLog& log = parent_log();
  switch (msg) {
    case WM_COMMAND:
      log.commands.push_back({LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp)});
      return 0;
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      log.draw_items.push_back(*item);
      FillRect(item->hDC, &item->rcItem, GetSysColorBrush(COLOR_HIGHLIGHT));
      return TRUE;
    }
    case WM_CTLCOLORSTATIC:
      if (log.static_text != 0xFFFFFFFF) SetTextColor(reinterpret_cast<HDC>(wp), log.static_text);
      if (log.static_brush) return reinterpret_cast<LRESULT>(log.static_brush);
      break;
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

inline const char* test_parent_class() {
  return test_support::test_window_class("ControlsTestParent", test_parent_proc, dialog_look());
}

using test_support::ansi;

class ControlsTest : public WindowTest {
 protected:
  void SetUp() override {
    parent_log() = ParentLog{};
    open_parent(test_parent_class(), "controls", {50, 50, 530, 410});
  }

  HWND make_button(DWORD style, std::string_view utf8_text, RECT r, int id) {
    std::string text = ansi(utf8_text);
    HWND b = CreateWindowExA(0, "BUTTON", text.c_str(), WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                             r.right - r.left, r.bottom - r.top, parent_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    EXPECT_NE(b, nullptr);
    return b;
  }

  std::vector<Command> clicks_from(HWND b) const {
    std::vector<Command> out;
    for (const auto& c : parent_log().commands)
      if (c.from == b && c.code == BN_CLICKED) out.push_back(c);
    return out;
  }
};

// The darkest pixel of a client rectangle of `hwnd`.
inline COLORREF darkest(HWND hwnd, RECT r) {
  COLORREF best = RGB(255, 255, 255);
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      COLORREF c = platform::headless::read_pixel(hwnd, x, y);
      if (c != 0xFFFFFFFF && luminance(c) < luminance(best)) best = c;
    }
  return best;
}

// How many pixels of a client rectangle are darker than `threshold`.
inline int dark_pixels(HWND hwnd, RECT r, int threshold) {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      COLORREF c = platform::headless::read_pixel(hwnd, x, y);
      if (c != 0xFFFFFFFF && luminance(c) < threshold) ++n;
    }
  return n;
}

}  // namespace controls_test
