// How the menu implementation reaches the window frame: it measures, draws and tracks the menu
// bar of top-level windows that have a menu. Without hooks the bar is SM_CYMENU high, drawn as
// an empty COLOR_MENU strip, and clicks on it do nothing.
// Contract: hooks are called without any window-system lock held, on the window's thread.
// `bar` is in window coordinates (the DC is a window DC).
#pragma once

#include "platform/api/types.h"

namespace platform::winsys {

struct MenuBarHooks {
  // Height in pixels of the bar for `width`; 0 means SM_CYMENU.
  int (*height)(HWND hwnd, HMENU menu, int width) = nullptr;
  void (*draw)(HWND hwnd, HMENU menu, HDC window_dc, const RECT& bar) = nullptr;
  // A click on the bar (WM_NCLBUTTONDOWN with HTMENU) or the menu key (WM_SYSCOMMAND SC_KEYMENU,
  // `screen` is then {-1, -1}): runs the menu's own modal loop.
  void (*track)(HWND hwnd, HMENU menu, POINT screen) = nullptr;
  // Whether `menu` is a live menu handle.
  bool (*is_menu)(HMENU menu) = nullptr;
  // Whether the window's system menu still offers `sc` (SC_MOVE, SC_SIZE, ...): a window whose
  // Move item was deleted must not follow a caption drag. Null means everything is allowed.
  bool (*allows_system_command)(HWND hwnd, UINT sc) = nullptr;
};

void set_menu_bar_hooks(const MenuBarHooks& hooks);
MenuBarHooks menu_bar_hooks();

}  // namespace platform::winsys
