// Per-DC state: viewport and brush origins, clipping, colours and modes.
#include "platform/gdi/dc.h"
#include "platform/gdi/handle_table.h"
#include "platform/gdi/region_access.h"

using namespace platform::gdi;

namespace {

int region_type(const cairo_region_t* r) {
  const int n = cairo_region_num_rectangles(r);
  return n == 0 ? NULLREGION : n == 1 ? SIMPLEREGION : COMPLEXREGION;
}

// The application clip, in device coordinates, as it is (the whole surface when there is none).
RegionPtr app_clip_or_all(const Dc& dc) {
  if (dc.st.clip) return RegionPtr(cairo_region_copy(dc.st.clip.get()));
  cairo_rectangle_int_t all{-dc.origin.x, -dc.origin.y, dc.surface_width(), dc.surface_height()};
  return RegionPtr(cairo_region_create_rectangle(&all));
}

int clip_result(Dc& dc) {
  return region_type(dc.clip_region().get());
}

int combine_clip(HDC hdc, int left, int top, int right, int bottom, bool exclude) {
  auto dc = find<Dc>(hdc);
  if (!dc) return ERROR;
  RECT d = to_surface(*dc, RECT{left, top, right, bottom});
  cairo_rectangle_int_t r{d.left - dc->origin.x, d.top - dc->origin.y, d.right - d.left, d.bottom - d.top};
  RegionPtr clip = app_clip_or_all(*dc);
  if (exclude) {
    cairo_region_subtract_rectangle(clip.get(), &r);
  } else {
    cairo_region_intersect_rectangle(clip.get(), &r);
  }
  dc->st.clip = share_region(clip.release());
  return clip_result(*dc);
}

template <class T>
T with_dc(HDC hdc, T fail, auto fn) {
  auto dc = find<Dc>(hdc);
  return dc ? fn(*dc) : fail;
}

}  // namespace

extern "C" {

BOOL WINAPI SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
  return with_dc(hdc, FALSE, [&](Dc& dc) {
    if (lppt) *lppt = dc.st.viewport;
    dc.st.viewport = POINT{x, y};
    return TRUE;
  });
}

BOOL WINAPI GetViewportOrgEx(HDC hdc, LPPOINT lppt) {
  return with_dc(hdc, FALSE, [&](Dc& dc) {
    if (!lppt) return FALSE;
    *lppt = dc.st.viewport;
    return TRUE;
  });
}

BOOL WINAPI OffsetViewportOrgEx(HDC hdc, int dx, int dy, LPPOINT lppt) {
  return with_dc(hdc, FALSE, [&](Dc& dc) {
    if (lppt) *lppt = dc.st.viewport;
    dc.st.viewport.x += dx;
    dc.st.viewport.y += dy;
    return TRUE;
  });
}

BOOL WINAPI SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
  return with_dc(hdc, FALSE, [&](Dc& dc) {
    if (lppt) *lppt = dc.st.brush_org;
    dc.st.brush_org = POINT{x, y};
    return TRUE;
  });
}

int WINAPI SelectClipRgn(HDC hdc, HRGN hrgn) {
  return ExtSelectClipRgn(hdc, hrgn, RGN_COPY);
}

int WINAPI ExtSelectClipRgn(HDC hdc, HRGN hrgn, int mode) {
  auto dc = find<Dc>(hdc);
  if (!dc) return ERROR;
  if (!hrgn) {
    if (mode != RGN_COPY) return ERROR;
    dc->st.clip.reset();
    return clip_result(*dc);
  }
  cairo_region_t* src = region_of(hrgn);
  if (!src) return ERROR;
  RegionPtr clip = mode == RGN_COPY ? RegionPtr(cairo_region_copy(src)) : app_clip_or_all(*dc);
  switch (mode) {
    case RGN_COPY:
      break;
    case RGN_AND:
      cairo_region_intersect(clip.get(), src);
      break;
    case RGN_OR:
      cairo_region_union(clip.get(), src);
      break;
    case RGN_XOR:
      cairo_region_xor(clip.get(), src);
      break;
    case RGN_DIFF:
      cairo_region_subtract(clip.get(), src);
      break;
    default:
      return ERROR;
  }
  dc->st.clip = share_region(clip.release());
  return clip_result(*dc);
}

int WINAPI IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
  return combine_clip(hdc, left, top, right, bottom, false);
}

int WINAPI ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom) {
  return combine_clip(hdc, left, top, right, bottom, true);
}

int WINAPI GetClipBox(HDC hdc, LPRECT lprect) {
  auto dc = find<Dc>(hdc);
  if (!dc || !lprect) return ERROR;
  RegionPtr clip = dc->clip_region();
  cairo_rectangle_int_t e;
  cairo_region_get_extents(clip.get(), &e);
  const POINT off = dc->offset();
  if (e.width <= 0 || e.height <= 0) {
    *lprect = RECT{0, 0, 0, 0};
  } else {
    *lprect = RECT{e.x - off.x, e.y - off.y, e.x + e.width - off.x, e.y + e.height - off.y};
  }
  return region_type(clip.get());
}

int WINAPI GetClipRgn(HDC hdc, HRGN hrgn) {
  auto dc = find<Dc>(hdc);
  cairo_region_t* dst = region_of(hrgn);
  if (!dc || !dst) return -1;
  if (!dc->st.clip) return 0;
  cairo_region_subtract(dst, dst);
  cairo_region_union(dst, dc->st.clip.get());
  return 1;
}

BOOL WINAPI PtVisible(HDC hdc, int x, int y) {
  return with_dc(hdc, FALSE, [&](Dc& dc) {
    const POINT off = dc.offset();
    return cairo_region_contains_point(dc.clip_region().get(), x + off.x, y + off.y) ? TRUE : FALSE;
  });
}

BOOL WINAPI RectVisible(HDC hdc, const RECT* lprect) {
  return with_dc(hdc, FALSE, [&](Dc& dc) {
    if (!lprect) return FALSE;
    RECT s = to_surface(dc, *lprect);
    cairo_rectangle_int_t r{s.left, s.top, s.right - s.left, s.bottom - s.top};
    return cairo_region_contains_rectangle(dc.clip_region().get(), &r) != CAIRO_REGION_OVERLAP_OUT ? TRUE
                                                                                                   : FALSE;
  });
}

COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color) {
  return with_dc(hdc, CLR_INVALID, [&](Dc& dc) { return std::exchange(dc.st.text_color, color & 0xFFFFFF); });
}
COLORREF WINAPI GetTextColor(HDC hdc) {
  return with_dc(hdc, CLR_INVALID, [&](Dc& dc) { return dc.st.text_color; });
}
COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color) {
  return with_dc(hdc, CLR_INVALID, [&](Dc& dc) { return std::exchange(dc.st.bk_color, color & 0xFFFFFF); });
}
COLORREF WINAPI GetBkColor(HDC hdc) {
  return with_dc(hdc, CLR_INVALID, [&](Dc& dc) { return dc.st.bk_color; });
}
int WINAPI SetBkMode(HDC hdc, int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  return with_dc(hdc, 0, [&](Dc& dc) { return std::exchange(dc.st.bk_mode, mode); });
}
int WINAPI GetBkMode(HDC hdc) {
  return with_dc(hdc, 0, [&](Dc& dc) { return dc.st.bk_mode; });
}
UINT WINAPI SetTextAlign(HDC hdc, UINT align) {
  return with_dc(hdc, static_cast<UINT>(GDI_ERROR),
                 [&](Dc& dc) { return std::exchange(dc.st.text_align, align); });
}
UINT WINAPI GetTextAlign(HDC hdc) {
  return with_dc(hdc, static_cast<UINT>(GDI_ERROR), [&](Dc& dc) { return dc.st.text_align; });
}
int WINAPI SetStretchBltMode(HDC hdc, int mode) {
  if (mode < BLACKONWHITE || mode > HALFTONE) return 0;
  return with_dc(hdc, 0, [&](Dc& dc) { return std::exchange(dc.st.stretch_mode, mode); });
}
int WINAPI GetStretchBltMode(HDC hdc) {
  return with_dc(hdc, 0, [&](Dc& dc) { return dc.st.stretch_mode; });
}
int WINAPI SetROP2(HDC hdc, int rop2) {
  if (rop2 < 1 || rop2 > 16) return 0;
  return with_dc(hdc, 0, [&](Dc& dc) { return std::exchange(dc.st.rop2, rop2); });
}
int WINAPI GetROP2(HDC hdc) {
  return with_dc(hdc, 0, [&](Dc& dc) { return dc.st.rop2; });
}
BOOL WINAPI GetCurrentPositionEx(HDC hdc, LPPOINT lppt) {
  return with_dc(hdc, FALSE, [&](Dc& dc) {
    if (!lppt) return FALSE;
    *lppt = dc.st.pos;
    return TRUE;
  });
}

}  // extern "C"
