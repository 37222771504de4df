// Drawing steps shared by the shape, line and region functions.
#pragma once

#include "platform/gdi/dc.h"
#include "platform/gdi/handle_table.h"

namespace platform::gdi {

// Fills a logical rectangle with a brush (cut to the visible area first).
void fill_rect(Canvas& c, const RECT& whole, const Brush& b);
// XORs every pixel of a surface rectangle with white, within the clip.
void invert_surface_rect(Canvas& c, const RECT& s);
inline bool pen_visible(const Pen& p) {
  return p.style != PS_NULL;
}
// The line from (x0, y0) to (x1, y1), last pixel excluded, with the DC's pen and ROP2 mode.
void draw_segment(Canvas& c, int x0, int y0, int x1, int y1);

template <class F>
BOOL with_canvas(HDC hdc, F fn) {
  auto dc = find<Dc>(hdc);
  if (!dc) return FALSE;
  Canvas c(*dc);
  return fn(c) ? TRUE : FALSE;
}

}  // namespace platform::gdi
