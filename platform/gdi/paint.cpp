// Drawing steps shared by the shape, line and region functions. Lines are Bresenham runs
// through pixel centres, so one-pixel lines are pixel-exact.
#include "platform/gdi/paint.h"

#include <algorithm>
#include <cmath>

namespace platform::gdi {
namespace {

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

}  // namespace

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
  c.for_each_piece(c.to_device(s), [&](const RECT& p) {
    for (int y = p.top; y < p.bottom; ++y) {
      std::uint32_t* row = c.row(y);
      for (int x = p.left; x < p.right; ++x) row[x] ^= 0x00FFFFFF;
    }
  });
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
  const bool scaled = dc.scaled();
  int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  int x = x0, y = y0, step = 0;
  while (!(x == x1 && y == y1)) {
    const long long px = static_cast<long long>(x) + off.x, py = static_cast<long long>(y) + off.y;
    if (dash_on(pen, step) && px >= 0 && py >= 0 && px < w && py < h &&
        (scaled || cairo_region_contains_point(clip, static_cast<int>(px), static_cast<int>(py)))) {
      const auto apply = [&](std::uint32_t& d) {
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
      };
      if (scaled)
        c.for_each_device_pixel(px, py, apply);
      else
        apply(c.row(static_cast<int>(py))[px]);
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

}  // namespace platform::gdi
