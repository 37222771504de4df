// An owner window for menu tests: it logs what menus tell it and drives an open menu from
// inside the menu's own loop (each WM_ENTERIDLE runs the next step).
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/api.h"
#include "platform/api/menu.h"
#include "platform/kernel/codepage.h"
#include "platform/winsys/headless.h"
#include "tests/platform/controls/window_test.h"
#include "tests/support/code_page_text.h"
#include "tests/support/window_class.h"

namespace menu_test {

namespace hl = platform::headless;

struct Seen {
  UINT msg;
  WPARAM wp;
  LPARAM lp;
};

struct OwnerLog {
  std::vector<Seen> messages;
  std::vector<MEASUREITEMSTRUCT> measured;
  std::vector<DRAWITEMSTRUCT> drawn;
  std::vector<std::function<void(HWND popup)>> steps;
  std::size_t next_step = 0;
  bool ran_out = false;  // the menu was still open after the last step

  std::vector<WPARAM> commands() const {
    std::vector<WPARAM> out;
    for (const auto& s : messages)
      if (s.msg == WM_COMMAND) out.push_back(s.wp);
    return out;
  }
  std::vector<UINT> notifications() const {
    std::vector<UINT> out;
    for (const auto& s : messages)
      if (s.msg != WM_COMMAND && s.msg != WM_SYSCOMMAND) out.push_back(s.msg);
    return out;
  }
};

inline OwnerLog& owner_log() {
  static OwnerLog log;
  return log;
}

inline LRESULT CALLBACK owner_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  OwnerLog& log = owner_log();
  switch (msg) {
    case WM_ENTERIDLE:
      if (wp == MSGF_MENU) {
        if (log.next_step < log.steps.size()) {
          auto step = log.steps[log.next_step++];
          step(reinterpret_cast<HWND>(lp));
        } else {
          log.ran_out = true;
          EndMenu();  // never leave a test hanging in the menu loop
        }
      }
      return 0;
    case WM_COMMAND:
    case WM_INITMENU:
    case WM_INITMENUPOPUP:
    case WM_UNINITMENUPOPUP:
    case WM_MENUSELECT:
    case WM_ENTERMENULOOP:
    case WM_EXITMENULOOP:
      log.messages.push_back({msg, wp, lp});
      return 0;
    case WM_SYSCOMMAND:
      log.messages.push_back({msg, wp, lp});
      break;
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      log.measured.push_back(*mis);
      mis->itemWidth = 120;
      mis->itemHeight = 24;
      return TRUE;
    }
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      log.drawn.push_back(*dis);
      FillRect(dis->hDC, &dis->rcItem,
               GetSysColorBrush((dis->itemState & ODS_SELECTED) ? COLOR_HIGHLIGHT : COLOR_WINDOW));
      return TRUE;
    }
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

inline const char* owner_class() {
  return test_support::test_window_class(
      "MenuTestOwner", owner_proc,
      {.arrow_cursor = true, .background = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1))});
}

using test_support::ansi;

// Client point of the middle of item `index` of a pop-up built from items 19 pixels high and
// separators 9 pixels high (`kinds`: 'i' item, 's' separator), inside the 3-pixel frame.
inline POINT item_point(std::string_view kinds, std::size_t index) {
  int y = 3;
  for (std::size_t i = 0; i < index; ++i) y += kinds[i] == 's' ? 9 : 19;
  return {30, y + (kinds[index] == 's' ? 4 : 9)};
}

inline std::string class_of(HWND hwnd) {
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof name);
  return name;
}

class MenuTest : public controls_test::WindowTest {
 protected:
  void SetUp() override {
    owner_log() = OwnerLog{};
    open_parent(owner_class(), "menus", {40, 40, 440, 340});
    SetFocus(parent_);
    idle();
    owner_log().messages.clear();
  }
  void TearDown() override {
    WindowTest::TearDown();
    for (HMENU m : menus_)
      if (IsMenu(m)) DestroyMenu(m);
    idle();
  }

  void steps(std::vector<std::function<void(HWND)>> s) { owner_log().steps = std::move(s); }

  // File-like menu: Open\tCtrl+O, separator, Grayed (grayed), Save, Exit.
  HMENU file_menu() {
    HMENU m = CreatePopupMenu();
    AppendMenuA(m, MF_STRING, 101, "&Open\tCtrl+O");
    AppendMenuA(m, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(m, MF_STRING | MF_GRAYED, 102, "&Grayed");
    AppendMenuA(m, MF_STRING, 103, "&Save");
    AppendMenuA(m, MF_STRING, 104, "E&xit");
    menus_.push_back(m);
    return m;
  }
  static constexpr std::string_view kFileKinds = "isiii";

  std::vector<HMENU> menus_;
};

}  // namespace menu_test
