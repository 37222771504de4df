// Lines, pixels and the focus rectangle.
#include <algorithm>
#include <cmath>

#include "platform/gdi/paint.h"
#include "platform/gdi/region_access.h"

using namespace platform::gdi;

extern "C" {

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

COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF color) {
  auto dc = find<Dc>(hdc);
  if (!dc) return CLR_INVALID;
  Canvas c(*dc);
  const POINT off = dc->offset();
  const int px = clamp_coord(static_cast<long long>(x) + off.x),
            py = clamp_coord(static_cast<long long>(y) + off.y);
  const std::uint32_t v = device_pixel(color, dc->mono());
  bool set = false;
  c.for_each_device_pixel(px, py, [&](std::uint32_t& d) {
    d = v;
    set = true;
  });
  return set ? pixel_to_colorref(v) : CLR_INVALID;
}

COLORREF WINAPI GetPixel(HDC hdc, int x, int y) {
  auto dc = find<Dc>(hdc);
  if (!dc) return CLR_INVALID;
  Canvas c(*dc);
  const POINT off = dc->offset();
  const int px = clamp_coord(static_cast<long long>(x) + off.x),
            py = clamp_coord(static_cast<long long>(y) + off.y);
  const RECT d = c.to_device(RECT{px, py, px + 1, py + 1});
  if (!cairo_region_contains_point(c.clip(), d.left, d.top)) return CLR_INVALID;
  return pixel_to_colorref(c.row(d.top)[d.left]);
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
      c.for_each_device_pixel(x, y, [](std::uint32_t& d) { d ^= 0x00FFFFFF; });
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

}  // extern "C"
