// Selecting, deleting and describing drawing objects; pens and brushes.
#include <cstring>

#include "platform/gdi/dc.h"
#include "platform/gdi/handle_table.h"

using namespace platform::gdi;

namespace {

template <class T>
int copy_out(const T& value, int c, LPVOID pv) {
  if (!pv) return static_cast<int>(sizeof(T));
  if (c < static_cast<int>(sizeof(T))) return 0;
  std::memcpy(pv, &value, sizeof(T));
  return static_cast<int>(sizeof(T));
}

BITMAP describe(const Bitmap& b) {
  BITMAP bm{};
  bm.bmWidth = b.width;
  bm.bmHeight = b.height;
  bm.bmPlanes = 1;
  if (b.dib) {
    bm.bmBitsPixel = static_cast<WORD>(b.dib->bpp);
    bm.bmWidthBytes = static_cast<LONG>(b.dib->stride());
    bm.bmBits = const_cast<std::uint8_t*>(b.dib_bits.data());
  } else {
    bm.bmBitsPixel = static_cast<WORD>(b.bpp);
    bm.bmWidthBytes = static_cast<LONG>(((static_cast<long>(b.width) * b.bpp + 15) / 16) * 2);
  }
  return bm;
}

}  // namespace

extern "C" {

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h) {
  auto dc = find<Dc>(hdc);
  auto obj = find_object(h);
  if (!dc || !obj) return nullptr;
  void* old = nullptr;
  switch (obj->kind()) {
    case Kind::pen:
      old = dc->st.pen->handle;
      dc->select(dc->st.pen, std::static_pointer_cast<Pen>(obj));
      return old;
    case Kind::brush:
      old = dc->st.brush->handle;
      dc->select(dc->st.brush, std::static_pointer_cast<Brush>(obj));
      return old;
    case Kind::font:
      old = dc->st.font->handle;
      dc->select(dc->st.font, std::static_pointer_cast<Font>(obj));
      return old;
    case Kind::bitmap: {
      if (!dc->memory) return nullptr;
      auto b = std::static_pointer_cast<Bitmap>(obj);
      // A bitmap can be selected into one DC at a time.
      if (b != dc->st.bitmap && !b->stock && b->selections.load() > 0) return nullptr;
      old = dc->st.bitmap->handle;
      dc->select(dc->st.bitmap, std::move(b));
      dc->st.clip.reset();
      return old;
    }
    case Kind::region:
      return reinterpret_cast<HGDIOBJ>(static_cast<LONG_PTR>(SelectClipRgn(hdc, static_cast<HRGN>(h))));
    default:
      return nullptr;
  }
}

HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT type) {
  auto dc = find<Dc>(hdc);
  if (!dc) return nullptr;
  switch (type) {
    case OBJ_PEN:
      return dc->st.pen->handle;
    case OBJ_BRUSH:
      return dc->st.brush->handle;
    case OBJ_FONT:
      return dc->st.font->handle;
    case OBJ_BITMAP:
      return dc->memory ? dc->st.bitmap->handle : nullptr;
    default:
      return nullptr;
  }
}

DWORD WINAPI GetObjectType(HGDIOBJ h) {
  auto obj = find_object(h);
  if (!obj) return 0;
  switch (obj->kind()) {
    case Kind::pen:
      return OBJ_PEN;
    case Kind::brush:
      return OBJ_BRUSH;
    case Kind::font:
      return OBJ_FONT;
    case Kind::bitmap:
      return OBJ_BITMAP;
    case Kind::region:
      return OBJ_REGION;
    case Kind::dc:
      return std::static_pointer_cast<Dc>(obj)->memory ? OBJ_MEMDC : OBJ_DC;
    default:
      return 0;
  }
}

BOOL WINAPI DeleteObject(HGDIOBJ ho) {
  auto obj = find_object(ho);
  // Device contexts and icons have their own destroy functions.
  if (!obj || obj->kind() == Kind::dc || obj->kind() == Kind::icon) return FALSE;
  return delete_object(ho) ? TRUE : FALSE;
}

int WINAPI GetObjectA(HANDLE h, int c, LPVOID pv) {
  auto obj = find_object(h);
  if (!obj || c < 0) return 0;
  switch (obj->kind()) {
    case Kind::pen: {
      auto& p = static_cast<Pen&>(*obj);
      return copy_out(LOGPEN{static_cast<UINT>(p.style), POINT{p.width, 0}, p.color}, c, pv);
    }
    case Kind::brush: {
      auto& b = static_cast<Brush&>(*obj);
      return copy_out(LOGBRUSH{b.style, b.color, 0}, c, pv);
    }
    case Kind::font:
      return copy_out(static_cast<Font&>(*obj).lf, c, pv);
    case Kind::bitmap: {
      auto& b = static_cast<Bitmap&>(*obj);
      if (b.dib && pv && c >= static_cast<int>(sizeof(DIBSECTION))) {
        DIBSECTION ds{};
        ds.dsBm = describe(b);
        ds.dsBmih.biSize = sizeof(BITMAPINFOHEADER);
        ds.dsBmih.biWidth = b.width;
        ds.dsBmih.biHeight = b.dib->top_down ? -b.height : b.height;
        ds.dsBmih.biPlanes = 1;
        ds.dsBmih.biBitCount = static_cast<WORD>(b.dib->bpp);
        ds.dsBmih.biSizeImage = static_cast<DWORD>(b.dib->image_bytes());
        std::memcpy(ds.dsBitfields, b.dib->masks, sizeof(ds.dsBitfields));
        return copy_out(ds, c, pv);
      }
      return copy_out(describe(b), c, pv);
    }
    default:
      return 0;
  }
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
  return issue<HBRUSH>(std::make_shared<Brush>(BS_SOLID, color & 0xFFFFFF));
}

HBRUSH WINAPI CreatePatternBrush(HBITMAP hbm) {
  auto b = find<Bitmap>(hbm);
  if (!b) return nullptr;
  auto brush = std::make_shared<Brush>(BS_PATTERN, 0);
  b->sync_in();
  cairo_surface_flush(b->surface);
  brush->pattern.width = b->width;
  brush->pattern.height = b->height;
  brush->pattern.mono = b->mono();
  brush->pattern.pixels.resize(static_cast<std::size_t>(b->width) * b->height);
  for (int y = 0; y < b->height; ++y)
    for (int x = 0; x < b->width; ++x)
      brush->pattern.pixels[static_cast<std::size_t>(y) * b->width + x] = b->pixel(x, y) & 0xFFFFFF;
  return issue<HBRUSH>(std::move(brush));
}

HBRUSH WINAPI CreateBrushIndirect(const LOGBRUSH* plbrush) {
  if (!plbrush) return nullptr;
  switch (plbrush->lbStyle) {
    case BS_SOLID:
      return CreateSolidBrush(plbrush->lbColor);
    case BS_NULL:
      return issue<HBRUSH>(std::make_shared<Brush>(BS_NULL, 0));
    case BS_PATTERN:
      return CreatePatternBrush(reinterpret_cast<HBITMAP>(plbrush->lbHatch));
    default:
      return nullptr;
  }
}

HPEN WINAPI CreatePen(int iStyle, int cWidth, COLORREF color) {
  if (iStyle < PS_SOLID || iStyle > PS_INSIDEFRAME) return nullptr;
  // Styled pens are one pixel wide, as on the platform.
  if (iStyle >= PS_DASH && iStyle <= PS_DASHDOTDOT) cWidth = 1;
  return issue<HPEN>(std::make_shared<Pen>(iStyle, cWidth < 1 ? 1 : cWidth, color & 0xFFFFFF));
}

HPEN WINAPI CreatePenIndirect(const LOGPEN* plpen) {
  if (!plpen) return nullptr;
  return CreatePen(static_cast<int>(plpen->lopnStyle), plpen->lopnWidth.x, plpen->lopnColor);
}

}  // extern "C"
