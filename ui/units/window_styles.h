// The native styles and the region of a window unit, from its properties.
// Contract:
// - Border styles: 0 neither caption nor border (a popup); 1 sizing border; 2 fixed border;
//   3 sizing tool window; 4 fixed tool window; 5 sizing with a sunken client edge; 6 fixed with
//   a sunken client edge; any other value as 0. Styles 1-6 get a caption when the title is not
//   empty or the control box is on. The control box adds the system menu; the minimise and
//   maximise boxes follow their properties; children are always clipped; a window with an
//   owner, or without a caption, is a popup (an overlapped window always has a caption).
// - window_shape_region: null for shape 0 (the plain rectangle); 1 an ellipse filling the
//   window rectangle; 2-29 rounded rectangles whose corners grow with the shape number. The
//   caller hands the region to SetWindowRgn, which owns it from then on.
#pragma once

#include "platform/api/types.h"
#include "ui/units/window_properties.h"

namespace ui {

struct WindowStyles {
  DWORD style = 0;
  DWORD ex_style = 0;
  bool operator==(const WindowStyles&) const = default;
};

WindowStyles window_styles(const WindowProperties& properties, bool has_owner);
bool has_sizing_border(std::int32_t border_style);

// Replaces the style bits that window_styles decides on a live window and lets it recompute
// its frame.
void set_window_styles(HWND hwnd, const WindowStyles& styles);

HRGN window_shape_region(std::int32_t shape, int width, int height);

}  // namespace ui
