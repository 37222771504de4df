// The menu bar of a top-level window: where its items are on screen and which one is
// highlighted while a menu is open.
#pragma once

#include <optional>

#include "platform/controls/menu_look.h"

namespace platform::controls::menu {

struct BarGeometry {
  RECT bar{};             // window coordinates, bottom row included
  BarLayout layout;       // window coordinates
  POINT window_origin{};  // screen position of the window's top-left corner
};

// The bar of `hwnd` as last drawn (or as it would be drawn when it never was).
std::optional<BarGeometry> bar_geometry(HWND hwnd, const Menu& menu);
// Highlights bar item `index` (-1: none) and redraws the bar at once.
void set_bar_highlight(HWND hwnd, int index);

void install_menu_bar_hooks();

}  // namespace platform::controls::menu
