// Regions: cairo regions (banded, non-overlapping rectangles); ellipses are rasterised to one
// rectangle per scanline.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/gdi/handle_table.h"
#include "platform/gdi/region_access.h"

namespace platform::gdi {
namespace {

// Region coordinates are kept within 27 bits, like the platform's, so sizes cannot overflow.
constexpr int kRegionLimit = 1 << 27;
int clamp_region(int v) {
  return std::clamp(v, -kRegionLimit, kRegionLimit);
}
// Ellipses are rasterised per scanline; taller ones than this are refused.
constexpr int kMaxEllipseHeight = 1 << 16;

RegionPtr rect_region(int x1, int y1, int x2, int y2) {
  x1 = clamp_region(x1), y1 = clamp_region(y1), x2 = clamp_region(x2), y2 = clamp_region(y2);
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  cairo_rectangle_int_t r{x1, y1, x2 - x1, y2 - y1};
  return RegionPtr(cairo_region_create_rectangle(&r));
}

// Scanline spans of a rounded rectangle in [x1, x2) x [y1, y2) whose corners are quarters of a
// w x h ellipse; w and h as large as the box give an ellipse.
RegionPtr rounded_region(int x1, int y1, int x2, int y2, int w, int h) {
  x1 = clamp_region(x1), y1 = clamp_region(y1), x2 = clamp_region(x2), y2 = clamp_region(y2);
  w = clamp_region(w), h = clamp_region(h);
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  w = std::min(std::abs(w), x2 - x1);
  h = std::min(std::abs(h), y2 - y1);
  if (w <= 0 || h <= 0) return rect_region(x1, y1, x2, y2);
  if (y2 - y1 > kMaxEllipseHeight) return nullptr;
  RegionPtr out(cairo_region_create());
  const double rx = w / 2.0, ry = h / 2.0;
  for (int y = y1; y < y2; ++y) {
    // How far the scanline centre reaches into the top or bottom band of corners.
    const double cy = y + 0.5;
    double dy = 0;
    if (cy < y1 + ry) {
      dy = (y1 + ry) - cy;
    } else if (cy > y2 - ry) {
      dy = cy - (y2 - ry);
    }
    double inset = 0;
    if (dy > 0) {
      const double t = 1.0 - (dy * dy) / (ry * ry);
      inset = t <= 0 ? rx : rx - rx * std::sqrt(t);
    }
    const int left = x1 + static_cast<int>(std::lround(inset));
    const int right = x2 - static_cast<int>(std::lround(inset));
    if (right > left) {
      cairo_rectangle_int_t r{left, y, right - left, 1};
      cairo_region_union_rectangle(out.get(), &r);
    }
  }
  return out;
}

}  // namespace

cairo_region_t* region_of(HRGN h) {
  auto r = find<Region>(h);
  return r ? r->rgn.get() : nullptr;
}

HRGN make_region(const cairo_region_t* r) {
  if (!r) return nullptr;
  return issue<HRGN>(std::make_shared<Region>(RegionPtr(cairo_region_copy(r))));
}

}  // namespace platform::gdi

using namespace platform::gdi;

namespace {

int region_type_of(const cairo_region_t* r) {
  const int n = cairo_region_num_rectangles(r);
  return n == 0 ? NULLREGION : n == 1 ? SIMPLEREGION : COMPLEXREGION;
}

// Replaces the contents of dst with src (src may alias nothing in dst).
void assign(cairo_region_t* dst, const cairo_region_t* src) {
  cairo_region_subtract(dst, dst);
  cairo_region_union(dst, src);
}

}  // namespace

extern "C" {

HRGN WINAPI CreateRectRgn(int x1, int y1, int x2, int y2) {
  return issue<HRGN>(std::make_shared<Region>(platform::gdi::rect_region(x1, y1, x2, y2)));
}

HRGN WINAPI CreateRectRgnIndirect(const RECT* lprect) {
  if (!lprect) return nullptr;
  return CreateRectRgn(lprect->left, lprect->top, lprect->right, lprect->bottom);
}

HRGN WINAPI CreateEllipticRgn(int x1, int y1, int x2, int y2) {
  const long long w = std::llabs(static_cast<long long>(x2) - x1),
                  h = std::llabs(static_cast<long long>(y2) - y1);
  return CreateRoundRectRgn(x1, y1, x2, y2, static_cast<int>(std::min<long long>(w, 1 << 30)),
                            static_cast<int>(std::min<long long>(h, 1 << 30)));
}

HRGN WINAPI CreateEllipticRgnIndirect(const RECT* lprect) {
  if (!lprect) return nullptr;
  return CreateEllipticRgn(lprect->left, lprect->top, lprect->right, lprect->bottom);
}

HRGN WINAPI CreateRoundRectRgn(int x1, int y1, int x2, int y2, int w, int h) {
  RegionPtr r = platform::gdi::rounded_region(x1, y1, x2, y2, w, h);
  if (!r) return nullptr;
  return issue<HRGN>(std::make_shared<Region>(std::move(r)));
}

int WINAPI CombineRgn(HRGN hrgnDst, HRGN hrgnSrc1, HRGN hrgnSrc2, int iMode) {
  cairo_region_t* dst = region_of(hrgnDst);
  cairo_region_t* a = region_of(hrgnSrc1);
  if (!dst || !a) return ERROR;
  cairo_region_t* b = nullptr;
  if (iMode != RGN_COPY) {
    b = region_of(hrgnSrc2);
    if (!b) return ERROR;
  }
  RegionPtr result(cairo_region_copy(a));
  cairo_status_t status = CAIRO_STATUS_SUCCESS;
  switch (iMode) {
    case RGN_COPY:
      break;
    case RGN_AND:
      status = cairo_region_intersect(result.get(), b);
      break;
    case RGN_OR:
      status = cairo_region_union(result.get(), b);
      break;
    case RGN_XOR:
      status = cairo_region_xor(result.get(), b);
      break;
    case RGN_DIFF:
      status = cairo_region_subtract(result.get(), b);
      break;
    default:
      return ERROR;
  }
  if (status != CAIRO_STATUS_SUCCESS) return ERROR;
  // dst may be one of the sources: it is replaced only once the result is complete.
  assign(dst, result.get());
  return region_type_of(dst);
}

int WINAPI OffsetRgn(HRGN hrgn, int x, int y) {
  cairo_region_t* r = region_of(hrgn);
  if (!r) return ERROR;
  cairo_region_translate(r, clamp_region(x), clamp_region(y));
  return region_type_of(r);
}

int WINAPI GetRgnBox(HRGN hrgn, LPRECT lprc) {
  cairo_region_t* r = region_of(hrgn);
  if (!r || !lprc) return ERROR;
  cairo_rectangle_int_t e;
  cairo_region_get_extents(r, &e);
  if (cairo_region_is_empty(r)) {
    *lprc = RECT{0, 0, 0, 0};
  } else {
    *lprc = RECT{e.x, e.y, e.x + e.width, e.y + e.height};
  }
  return region_type_of(r);
}

BOOL WINAPI PtInRegion(HRGN hrgn, int x, int y) {
  cairo_region_t* r = region_of(hrgn);
  return r && cairo_region_contains_point(r, x, y) ? TRUE : FALSE;
}

BOOL WINAPI RectInRegion(HRGN hrgn, const RECT* lprect) {
  cairo_region_t* r = region_of(hrgn);
  if (!r || !lprect) return FALSE;
  int l = clamp_region(lprect->left), t = clamp_region(lprect->top);
  int rr = clamp_region(lprect->right), b = clamp_region(lprect->bottom);
  if (l > rr) std::swap(l, rr);
  if (t > b) std::swap(t, b);
  cairo_rectangle_int_t rect{l, t, rr - l, b - t};
  if (rect.width == 0 || rect.height == 0) return FALSE;
  return cairo_region_contains_rectangle(r, &rect) != CAIRO_REGION_OVERLAP_OUT ? TRUE : FALSE;
}

BOOL WINAPI EqualRgn(HRGN hrgn1, HRGN hrgn2) {
  cairo_region_t* a = region_of(hrgn1);
  cairo_region_t* b = region_of(hrgn2);
  if (!a || !b) return ERROR;
  return cairo_region_equal(a, b) ? TRUE : FALSE;
}

BOOL WINAPI SetRectRgn(HRGN hrgn, int left, int top, int right, int bottom) {
  cairo_region_t* r = region_of(hrgn);
  if (!r) return FALSE;
  RegionPtr fresh = platform::gdi::rect_region(left, top, right, bottom);
  assign(r, fresh.get());
  return TRUE;
}

DWORD WINAPI GetRegionData(HRGN hrgn, DWORD nCount, RGNDATA* lpRgnData) {
  cairo_region_t* r = region_of(hrgn);
  if (!r) return 0;
  const int n = cairo_region_num_rectangles(r);
  const DWORD needed = static_cast<DWORD>(sizeof(RGNDATAHEADER) + n * sizeof(RECT));
  if (!lpRgnData) return needed;
  if (nCount < needed) return 0;
  RGNDATAHEADER h{};
  h.dwSize = sizeof(RGNDATAHEADER);
  h.iType = RDH_RECTANGLES;
  h.nCount = static_cast<DWORD>(n);
  h.nRgnSize = static_cast<DWORD>(n * sizeof(RECT));
  GetRgnBox(hrgn, &h.rcBound);
  std::memcpy(&lpRgnData->rdh, &h, sizeof(h));
  auto* out = reinterpret_cast<unsigned char*>(lpRgnData) + sizeof(RGNDATAHEADER);
  for (int i = 0; i < n; ++i) {
    cairo_rectangle_int_t b;
    cairo_region_get_rectangle(r, i, &b);
    const RECT rect{b.x, b.y, b.x + b.width, b.y + b.height};
    std::memcpy(out + i * sizeof(RECT), &rect, sizeof(RECT));
  }
  return nCount;
}

HRGN WINAPI ExtCreateRegion(const void* lpXform, DWORD nCount, const RGNDATA* lpData) {
  if (lpXform || !lpData || nCount < sizeof(RGNDATAHEADER)) return nullptr;
  RGNDATAHEADER h;
  std::memcpy(&h, &lpData->rdh, sizeof(h));
  if (h.dwSize < sizeof(RGNDATAHEADER) || h.iType != RDH_RECTANGLES) return nullptr;
  if (h.nCount > (nCount - h.dwSize) / sizeof(RECT)) return nullptr;
  RegionPtr out(cairo_region_create());
  const auto* in = reinterpret_cast<const unsigned char*>(lpData) + h.dwSize;
  for (DWORD i = 0; i < h.nCount; ++i) {
    RECT rect;
    std::memcpy(&rect, in + i * sizeof(RECT), sizeof(RECT));
    RegionPtr piece = platform::gdi::rect_region(rect.left, rect.top, rect.right, rect.bottom);
    cairo_region_union(out.get(), piece.get());
  }
  return issue<HRGN>(std::make_shared<Region>(std::move(out)));
}

}  // extern "C"
