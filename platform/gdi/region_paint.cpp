// Painting regions: fill, frame, paint with the selected brush, invert. Region coordinates are
// logical, like those of the other drawing functions.
#include <algorithm>
#include <cmath>

#include "platform/gdi/paint.h"
#include "platform/gdi/region_access.h"

using namespace platform::gdi;

namespace {

void add_region_path(cairo_t* cr, const cairo_region_t* r, POINT shift) {
  const int n = cairo_region_num_rectangles(r);
  for (int i = 0; i < n; ++i) {
    cairo_rectangle_int_t b;
    cairo_region_get_rectangle(r, i, &b);
    cairo_rectangle(cr, b.x - shift.x, b.y - shift.y, b.width, b.height);
  }
}

}  // namespace

extern "C" {

BOOL WINAPI FillRgn(HDC hdc, HRGN hrgn, HBRUSH hbr) {
  auto dc = find<Dc>(hdc);
  cairo_region_t* r = region_of(hrgn);
  auto brush = find<Brush>(hbr);
  if (!dc || !r || !brush) return FALSE;
  Canvas c(*dc);
  if (!c.set_brush_source(*brush)) return TRUE;
  cairo_t* cr = c.cr();
  // Region coordinates are logical here, like the other drawing functions.
  add_region_path(cr, r, POINT{0, 0});
  cairo_fill(cr);
  return TRUE;
}

BOOL WINAPI PaintRgn(HDC hdc, HRGN hrgn) {
  auto dc = find<Dc>(hdc);
  if (!dc) return FALSE;
  return FillRgn(hdc, hrgn, static_cast<HBRUSH>(dc->st.brush->handle));
}

BOOL WINAPI FrameRgn(HDC hdc, HRGN hrgn, HBRUSH hbr, int w, int h) {
  auto dc = find<Dc>(hdc);
  cairo_region_t* r = region_of(hrgn);
  auto brush = find<Brush>(hbr);
  if (!dc || !r || !brush || w < 0 || h < 0) return FALSE;
  // The frame is the region minus the region shrunk by w and h: shrinking is the intersection
  // of the region with itself shifted in the four directions.
  RegionPtr inner(cairo_region_copy(r));
  for (auto [dx, dy] : {std::pair{w, 0}, std::pair{-w, 0}, std::pair{0, h}, std::pair{0, -h}}) {
    RegionPtr shifted(cairo_region_copy(r));
    cairo_region_translate(shifted.get(), dx, dy);
    cairo_region_intersect(inner.get(), shifted.get());
  }
  RegionPtr frame(cairo_region_copy(r));
  cairo_region_subtract(frame.get(), inner.get());
  Canvas c(*dc);
  if (!c.set_brush_source(*brush)) return TRUE;
  add_region_path(c.cr(), frame.get(), POINT{0, 0});
  cairo_fill(c.cr());
  return TRUE;
}

BOOL WINAPI InvertRgn(HDC hdc, HRGN hrgn) {
  auto dc = find<Dc>(hdc);
  cairo_region_t* r = region_of(hrgn);
  if (!dc || !r) return FALSE;
  Canvas c(*dc);
  const int n = cairo_region_num_rectangles(r);
  for (int i = 0; i < n; ++i) {
    cairo_rectangle_int_t b;
    cairo_region_get_rectangle(r, i, &b);
    invert_surface_rect(c, to_surface(*dc, RECT{b.x, b.y, b.x + b.width, b.y + b.height}));
  }
  return TRUE;
}

}  // extern "C"
