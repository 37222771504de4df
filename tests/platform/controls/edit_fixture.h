// A top-level window that owns edit and up-down controls in the tests and records what they
// tell it (WM_COMMAND, WM_NOTIFY, WM_VSCROLL / WM_HSCROLL), with helpers to drive them.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/api.h"
#include "platform/api/edit.h"
#include "platform/api/scrollbar.h"
#include "platform/kernel/codepage.h"
#include "platform/winsys/headless.h"
#include "tests/platform/controls/window_test.h"
#include "tests/support/code_page_text.h"
#include "tests/support/window_class.h"

namespace edit_test {

namespace hl = platform::headless;

using controls_test::Command;

struct Scroll {
  UINT message;
  int code;
  int pos;
  HWND from;
};

struct Record {
  std::vector<Command> commands;
  std::vector<NMUPDOWN> deltas;
  std::vector<Scroll> scrolls;
  bool cancel_deltas = false;
  HBRUSH edit_brush = nullptr;      // answer to WM_CTLCOLOREDIT when set
  COLORREF edit_text = 0xFFFFFFFF;  // text colour set on WM_CTLCOLOREDIT unless CLR_INVALID
  COLORREF edit_back = 0xFFFFFFFF;  // background colour set on WM_CTLCOLOREDIT unless CLR_INVALID
};

inline Record& record() {
  static Record r;
  return r;
}

inline LRESULT CALLBACK owner_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Record& r = record();
  switch (msg) {
    case WM_COMMAND:
      r.commands.push_back({LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp)});
      return 0;
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(lp);
      if (hdr->code == UDN_DELTAPOS) {
        r.deltas.push_back(*reinterpret_cast<NMUPDOWN*>(lp));
        return r.cancel_deltas ? 1 : 0;
      }
      return 0;
    }
    case WM_VSCROLL:
    case WM_HSCROLL:
      r.scrolls.push_back({msg, LOWORD(wp), static_cast<SHORT>(HIWORD(wp)), reinterpret_cast<HWND>(lp)});
      return 0;
    case WM_CTLCOLOREDIT:
      if (r.edit_text != 0xFFFFFFFF) SetTextColor(reinterpret_cast<HDC>(wp), r.edit_text);
      if (r.edit_back != 0xFFFFFFFF) SetBkColor(reinterpret_cast<HDC>(wp), r.edit_back);
      if (r.edit_brush) return reinterpret_cast<LRESULT>(r.edit_brush);
      // A parent that chose colours answers with its brush, or the default would reset them.
      if (r.edit_text != 0xFFFFFFFF || r.edit_back != 0xFFFFFFFF)
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
      break;
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

inline const char* owner_class() {
  return test_support::test_window_class("EditTestOwner", owner_proc, controls_test::dialog_look());
}

using test_support::ansi;

inline std::string text_of(HWND hwnd) {
  char buffer[4096] = {};
  const auto n = SendMessageA(hwnd, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
  return std::string(buffer, static_cast<std::size_t>(n));
}

inline std::pair<DWORD, DWORD> selection(HWND hwnd) {
  DWORD s = 0, e = 0;
  SendMessageA(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
  return {s, e};
}

using controls_test::luminance;

class EditTest : public controls_test::WindowTest {
 protected:
  void SetUp() override {
    record() = Record{};
    open_parent(owner_class(), "edit tests", {40, 40, 560, 420});
  }

  HWND make_edit(DWORD style, RECT r, int id = 100, std::string_view utf8 = {}, DWORD ex = WS_EX_CLIENTEDGE) {
    const std::string text = ansi(utf8);
    HWND e = CreateWindowExA(ex, "EDIT", text.c_str(), WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                             r.right - r.left, r.bottom - r.top, parent_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    EXPECT_NE(e, nullptr);
    return e;
  }

  HWND focused_edit(DWORD style, RECT r, int id = 100) {
    HWND e = make_edit(style, r, id);
    SetFocus(e);
    idle();
    record().commands.clear();
    return e;
  }

  static void type(std::string_view utf8) {
    hl::text(utf8);
    idle();
  }

  static void press(UINT vk) {
    hl::key_press(vk);
    idle();
  }

  // `vk` pressed `times` times with the modifier held.
  static void chord(UINT modifier, UINT vk, int times = 1) {
    hl::key_down(modifier);
    for (int i = 0; i < times; ++i) hl::key_press(vk);
    hl::key_up(modifier);
    idle();
  }

  static int count(HWND from, int code) {
    int n = 0;
    for (const Command& c : record().commands)
      if (c.from == from && c.code == code) ++n;
    return n;
  }
};

}  // namespace edit_test
