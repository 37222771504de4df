// Filled and outlined shapes. Integer coordinates address pixel corners; right and bottom
// edges are excluded.
#include <algorithm>
#include <cmath>

#include "platform/gdi/paint.h"
#include "platform/gdi/region_access.h"

using namespace platform::gdi;

namespace {

void frame_with_pen(Canvas& c, int l, int t, int r, int b) {
  const Pen& pen = *c.dc().st.pen;
  if (!pen_visible(pen) || r <= l || b <= t) return;
  if (pen.width > 1) {
    cairo_t* cr = c.cr();
    set_source_color(cr, pen.color, c.dc().mono());
    const int w = pen.width;
    cairo_rectangle(cr, l, t, r - l, b - t);
    cairo_rectangle(cr, l + w, t + w, std::max(0, r - l - 2 * w), std::max(0, b - t - 2 * w));
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_fill(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    return;
  }
  draw_segment(c, l, t, r - 1, t);
  draw_segment(c, r - 1, t, r - 1, b - 1);
  draw_segment(c, r - 1, b - 1, l, b - 1);
  draw_segment(c, l, b - 1, l, t);
}

// Fills the current cairo path with the brush and strokes it with a pen (centre of pixels).
void fill_and_stroke_path(Canvas& c, bool fill) {
  Dc& dc = c.dc();
  cairo_t* cr = c.cr();
  if (fill && c.set_brush_source(*dc.st.brush)) cairo_fill_preserve(cr);
  const Pen& pen = *dc.st.pen;
  if (pen_visible(pen)) {
    set_source_color(cr, pen.color, dc.mono());
    cairo_set_line_width(cr, pen.width);
    if (pen.style == PS_DOT) {
      const double dash[] = {1.0, 1.0};
      cairo_set_dash(cr, dash, 2, 0);
    }
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
  }
  cairo_new_path(cr);
}

}  // namespace

extern "C" {

int WINAPI FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
  auto dc = find<Dc>(hDC);
  if (!dc || !lprc) return 0;
  // A brush may also be given as a system colour index plus one.
  const auto index = reinterpret_cast<std::uintptr_t>(hbr);
  std::shared_ptr<Brush> brush = index >= 1 && index <= 31
                                     ? find<Brush>(GetSysColorBrush(static_cast<int>(index - 1)))
                                     : find<Brush>(hbr);
  if (!brush) return 0;
  Canvas c(*dc);
  fill_rect(c, *lprc, *brush);
  return 1;
}

int WINAPI FrameRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
  auto dc = find<Dc>(hDC);
  auto brush = find<Brush>(hbr);
  if (!dc || !brush || !lprc) return 0;
  const RECT r = *lprc;
  if (r.right <= r.left || r.bottom <= r.top) return 1;
  Canvas c(*dc);
  fill_rect(c, RECT{r.left, r.top, r.right, r.top + 1}, *brush);
  fill_rect(c, RECT{r.left, r.bottom - 1, r.right, r.bottom}, *brush);
  fill_rect(c, RECT{r.left, r.top, r.left + 1, r.bottom}, *brush);
  fill_rect(c, RECT{r.right - 1, r.top, r.right, r.bottom}, *brush);
  return 1;
}

BOOL WINAPI InvertRect(HDC hDC, const RECT* lprc) {
  if (!lprc) return FALSE;
  return with_canvas(hDC, [&](Canvas& c) {
    invert_surface_rect(c, to_surface(c.dc(), *lprc));
    return true;
  });
}

BOOL WINAPI Rectangle(HDC hdc, int left, int top, int right, int bottom) {
  return with_canvas(hdc, [&](Canvas& c) {
    RECT r{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
    const Pen& pen = *c.dc().st.pen;
    const int inset = pen_visible(pen) ? pen.width : 0;
    fill_rect(c, RECT{r.left + inset, r.top + inset, r.right - inset, r.bottom - inset}, *c.dc().st.brush);
    frame_with_pen(c, r.left, r.top, r.right, r.bottom);
    return true;
  });
}

BOOL WINAPI Ellipse(HDC hdc, int left, int top, int right, int bottom) {
  return with_canvas(hdc, [&](Canvas& c) {
    const double w = std::abs(right - left) - 1.0, h = std::abs(bottom - top) - 1.0;
    if (w <= 0 || h <= 0) return true;
    cairo_t* cr = c.cr();
    cairo_save(cr);
    cairo_translate(cr, std::min(left, right) + 0.5 + w / 2, std::min(top, bottom) + 0.5 + h / 2);
    cairo_scale(cr, w / 2, h / 2);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    fill_and_stroke_path(c, true);
    return true;
  });
}

BOOL WINAPI RoundRect(HDC hdc, int left, int top, int right, int bottom, int width, int height) {
  return with_canvas(hdc, [&](Canvas& c) {
    const double l = std::min(left, right) + 0.5, t = std::min(top, bottom) + 0.5;
    const double r = std::max(left, right) - 0.5, b = std::max(top, bottom) - 0.5;
    const double rx = std::min(std::abs(width) / 2.0, (r - l) / 2),
                 ry = std::min(std::abs(height) / 2.0, (b - t) / 2);
    if (r <= l || b <= t) return true;
    cairo_t* cr = c.cr();
    auto corner = [&](double cx, double cy, double a0) {
      cairo_save(cr);
      cairo_translate(cr, cx, cy);
      cairo_scale(cr, std::max(rx, 0.01), std::max(ry, 0.01));
      cairo_arc(cr, 0, 0, 1, a0, a0 + M_PI / 2);
      cairo_restore(cr);
    };
    cairo_new_sub_path(cr);
    corner(r - rx, t + ry, -M_PI / 2);
    corner(r - rx, b - ry, 0);
    corner(l + rx, b - ry, M_PI / 2);
    corner(l + rx, t + ry, M_PI);
    cairo_close_path(cr);
    fill_and_stroke_path(c, true);
    return true;
  });
}

BOOL WINAPI Polygon(HDC hdc, const POINT* apt, int cpt) {
  if (!apt || cpt < 2) return FALSE;
  return with_canvas(hdc, [&](Canvas& c) {
    cairo_t* cr = c.cr();
    cairo_move_to(cr, apt[0].x, apt[0].y);
    for (int i = 1; i < cpt; ++i) cairo_line_to(cr, apt[i].x, apt[i].y);
    cairo_close_path(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    if (c.set_brush_source(*c.dc().st.brush)) cairo_fill(cr);
    cairo_new_path(cr);
    for (int i = 0; i < cpt; ++i) {
      const POINT a = apt[i], b = apt[(i + 1) % cpt];
      draw_segment(c, a.x, a.y, b.x, b.y);
    }
    return true;
  });
}

}  // extern "C"
