// Filled and outlined shapes, lines and pixels. Integer coordinates address pixel corners;
// lines run through pixel centres without antialiasing, so the results are pixel-exact.
#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/gdi/dc.h"
#include "platform/gdi/handle_table.h"
#include "platform/gdi/region_access.h"

using namespace platform::gdi;

namespace {

void fill_rect(Canvas& c, const RECT& whole, const Brush& b) {
  if (whole.right <= whole.left || whole.bottom <= whole.top) return;
  const RECT lim = c.logical_bounds();
  const RECT r{std::max(whole.left, lim.left), std::max(whole.top, lim.top), std::min(whole.right, lim.right),
               std::min(whole.bottom, lim.bottom)};
  if (r.right <= r.left || r.bottom <= r.top) return;
  if (!c.set_brush_source(b)) return;
  cairo_t* cr = c.cr();
  cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
  cairo_fill(cr);
}

// XOR every pixel of a surface rectangle with white (within the clip).
void invert_surface_rect(Canvas& c, const RECT& s) {
  c.for_each_piece(s, [&](const RECT& p) {
    for (int y = p.top; y < p.bottom; ++y) {
      std::uint32_t* row = c.row(y);
      for (int x = p.left; x < p.right; ++x) row[x] ^= 0x00FFFFFF;
    }
  });
}

bool pen_visible(const Pen& p) {
  return p.style != PS_NULL;
}

// A pixel run of a styled pen: dots alternate one on, one off.
bool dash_on(const Pen& p, int step) {
  switch (p.style) {
    case PS_DOT:
      return (step & 1) == 0;
    case PS_DASH:
      return step % 24 < 18;
    case PS_DASHDOT:
      return step % 30 < 18 || (step % 30 >= 24 && step % 30 < 27);
    case PS_DASHDOTDOT:
      return step % 36 < 18 || (step % 36 >= 24 && step % 36 < 27) || (step % 36 >= 30 && step % 36 < 33);
    default:
      return true;
  }
}

// Liang-Barsky: cuts the segment to `box`; false when nothing of it is inside. The far end is
// moved one pixel past the box so that the excluded last pixel stays outside.
bool cut_to(const RECT& box, int& x0, int& y0, int& x1, int& y1) {
  const double dx = static_cast<double>(x1) - x0, dy = static_cast<double>(y1) - y0;
  double t0 = 0, t1 = 1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {static_cast<double>(x0) - box.left, static_cast<double>(box.right) - x0,
                       static_cast<double>(y0) - box.top, static_cast<double>(box.bottom) - y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
  }
  if (t0 > t1) return false;
  const double ox = x0, oy = y0;
  x0 = static_cast<int>(std::lround(ox + t0 * dx));
  y0 = static_cast<int>(std::lround(oy + t0 * dy));
  if (t1 < 1) {
    x1 = static_cast<int>(std::lround(ox + t1 * dx + (dx > 0 ? 1 : dx < 0 ? -1 : 0)));
    y1 = static_cast<int>(std::lround(oy + t1 * dy + (dy > 0 ? 1 : dy < 0 ? -1 : 0)));
  }
  return true;
}

// The line from (x0, y0) to (x1, y1), last pixel excluded, with the DC's pen and ROP2 mode.
void draw_segment(Canvas& c, int x0, int y0, int x1, int y1) {
  Dc& dc = c.dc();
  const Pen& pen = *dc.st.pen;
  if (!pen_visible(pen)) return;
  const POINT off = dc.offset();
  // Lines far longer than any surface are first cut to the visible area.
  const long long span =
      std::max(std::llabs(static_cast<long long>(x1) - x0), std::llabs(static_cast<long long>(y1) - y0));
  if (span > 4LL * (dc.surface_width() + dc.surface_height()) + 64 &&
      !cut_to(c.logical_bounds(), x0, y0, x1, y1))
    return;
  if (pen.width > 1 && pen.style != PS_DOT) {
    cairo_t* cr = c.cr();
    set_source_color(cr, pen.color, dc.mono());
    cairo_set_line_width(cr, pen.width);
    cairo_set_line_cap(cr, pen.width > 1 ? CAIRO_LINE_CAP_ROUND : CAIRO_LINE_CAP_BUTT);
    cairo_move_to(cr, x0 + 0.5, y0 + 0.5);
    cairo_line_to(cr, x1 + 0.5, y1 + 0.5);
    cairo_stroke(cr);
    return;
  }
  // One-pixel lines: Bresenham, so the pixels are exactly the platform's.
  const std::uint32_t colour = device_pixel(pen.color, dc.mono());
  const int rop2 = dc.st.rop2;
  const int w = dc.surface_width(), h = dc.surface_height();
  const cairo_region_t* clip = c.clip();
  int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  int x = x0, y = y0, step = 0;
  while (!(x == x1 && y == y1)) {
    const long long px = static_cast<long long>(x) + off.x, py = static_cast<long long>(y) + off.y;
    if (dash_on(pen, step) && px >= 0 && py >= 0 && px < w && py < h &&
        cairo_region_contains_point(clip, static_cast<int>(px), static_cast<int>(py))) {
      std::uint32_t& d = c.row(static_cast<int>(py))[px];
      switch (rop2) {
        case R2_NOT:
          d ^= 0x00FFFFFF;
          break;
        case R2_XORPEN:
          d = (d ^ colour) | 0xFF000000u;
          break;
        case R2_NOTXORPEN:
          d = ~(d ^ colour) | 0xFF000000u;
          break;
        case R2_BLACK:
          d = 0xFF000000u;
          break;
        case R2_WHITE:
          d = 0xFFFFFFFFu;
          break;
        default:
          d = colour;
          break;
      }
    }
    ++step;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
}

// Closed outline of a rectangle drawn inside [l, r) x [t, b).
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

template <class F>
BOOL with_canvas(HDC hdc, F fn) {
  auto dc = find<Dc>(hdc);
  if (!dc) return FALSE;
  Canvas c(*dc);
  return fn(c) ? TRUE : FALSE;
}

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

int WINAPI FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
  auto dc = find<Dc>(hDC);
  if (!dc || !lprc) return 0;
  // A brush may also be given as a system colour index plus one.
  std::shared_ptr<Brush> brush = find<Brush>(hbr);
  if (!brush) {
    const auto index = reinterpret_cast<std::uintptr_t>(hbr);
    if (index >= 1 && index <= 31) brush = find<Brush>(GetSysColorBrush(static_cast<int>(index - 1)));
  }
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

BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT lppt) {
  auto dc = find<Dc>(hdc);
  if (!dc) return FALSE;
  if (lppt) *lppt = dc->st.pos;
  dc->st.pos = POINT{x, y};
  return TRUE;
}

BOOL WINAPI LineTo(HDC hdc, int x, int y) {
  return with_canvas(hdc, [&](Canvas& c) {
    draw_segment(c, c.dc().st.pos.x, c.dc().st.pos.y, x, y);
    c.dc().st.pos = POINT{x, y};
    return true;
  });
}

BOOL WINAPI Polyline(HDC hdc, const POINT* apt, int cpt) {
  if (!apt || cpt < 2) return FALSE;
  return with_canvas(hdc, [&](Canvas& c) {
    for (int i = 1; i < cpt; ++i) draw_segment(c, apt[i - 1].x, apt[i - 1].y, apt[i].x, apt[i].y);
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

COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF color) {
  auto dc = find<Dc>(hdc);
  if (!dc) return CLR_INVALID;
  Canvas c(*dc);
  const POINT off = dc->offset();
  const int px = clamp_coord(static_cast<long long>(x) + off.x),
            py = clamp_coord(static_cast<long long>(y) + off.y);
  if (!cairo_region_contains_point(c.clip(), px, py)) return CLR_INVALID;
  const std::uint32_t v = device_pixel(color, dc->mono());
  c.row(py)[px] = v;
  return pixel_to_colorref(v);
}

COLORREF WINAPI GetPixel(HDC hdc, int x, int y) {
  auto dc = find<Dc>(hdc);
  if (!dc) return CLR_INVALID;
  Canvas c(*dc);
  const POINT off = dc->offset();
  const int px = clamp_coord(static_cast<long long>(x) + off.x),
            py = clamp_coord(static_cast<long long>(y) + off.y);
  if (!cairo_region_contains_point(c.clip(), px, py)) return CLR_INVALID;
  return pixel_to_colorref(c.row(py)[px]);
}

BOOL WINAPI DrawFocusRect(HDC hDC, const RECT* lprc) {
  if (!lprc) return FALSE;
  return with_canvas(hDC, [&](Canvas& c) {
    RECT s = to_surface(c.dc(), *lprc);
    if (s.right <= s.left || s.bottom <= s.top) return true;
    // XORed dots, so drawing the same rectangle twice restores the picture. Only the part
    // that can be on the surface is walked, keeping the dots' phase.
    const int w = c.dc().surface_width(), h = c.dc().surface_height();
    const int x_from = s.left < -2 ? s.left + ((-2 - s.left) & ~1) : s.left;
    const int y_from = s.top < -2 ? s.top + ((-2 - s.top) & ~1) : s.top;
    auto flip = [&](int x, int y) {
      if (cairo_region_contains_point(c.clip(), x, y)) c.row(y)[x] ^= 0x00FFFFFF;
    };
    for (int x = x_from; x < std::min<LONG>(s.right, w + 2); x += 2) {
      flip(x, s.top);
      if (s.bottom - 1 != s.top) flip(x, s.bottom - 1);
    }
    for (int y = std::max<LONG>(s.top + 2, y_from); y < std::min<LONG>(s.bottom - 1, h + 2); y += 2) {
      flip(s.left, y);
      if (s.right - 1 != s.left) flip(s.right - 1, y);
    }
    return true;
  });
}

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
