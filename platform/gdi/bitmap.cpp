// Bitmap storage and the bitmap creation and DIB transfer functions.
#include <algorithm>
#include <cstring>

#include "platform/gdi/bitmap_store.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/handle_table.h"

namespace platform::gdi {

Bitmap::~Bitmap() {
  if (surface) cairo_surface_destroy(surface);
}

void Bitmap::sync_in() {
  if (!dib || dib->bpp == 32) return;
  cairo_surface_flush(surface);
  for (int y = 0; y < height; ++y) decode_row(*dib, dib_bits.data(), stored_row_of(*dib, y), row(y));
  cairo_surface_mark_dirty(surface);
}

void Bitmap::sync_out() {
  if (!dib || dib->bpp == 32) return;
  cairo_surface_flush(surface);
  for (int y = 0; y < height; ++y) encode_row(*dib, row(y), stored_row_of(*dib, y), dib_bits.data());
}

std::shared_ptr<Bitmap> make_bitmap(int width, int height, bool mono) {
  if (!valid_bitmap_size(width, height)) return nullptr;
  auto b = std::make_shared<Bitmap>();
  b->width = width;
  b->height = height;
  b->bpp = mono ? 1 : 32;
  b->own.assign(static_cast<std::size_t>(width) * height, 0);
  b->surface = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(b->own.data()),
                                                   CAIRO_FORMAT_RGB24, width, height, width * 4);
  if (cairo_surface_status(b->surface) != CAIRO_STATUS_SUCCESS) return nullptr;
  return b;
}

// A bitmap compatible with a window DC at `q` quarters: device pixels, logical size.
std::shared_ptr<Bitmap> make_scaled_bitmap(int width, int height, int q) {
  if (!valid_bitmap_size(width, height)) return nullptr;
  const long long dw = to_device(width, q), dh = to_device(height, q);
  if (!valid_bitmap_size(static_cast<int>(std::min<long long>(dw, 1LL << 30)),
                         static_cast<int>(std::min<long long>(dh, 1LL << 30))))
    return nullptr;
  auto b = std::make_shared<Bitmap>();
  b->width = width;
  b->height = height;
  b->scale = q;
  b->own.assign(static_cast<std::size_t>(dw) * dh, 0);
  b->surface = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(b->own.data()),
                                                   CAIRO_FORMAT_RGB24, static_cast<int>(dw),
                                                   static_cast<int>(dh), static_cast<int>(dw) * 4);
  if (cairo_surface_status(b->surface) != CAIRO_STATUS_SUCCESS) return nullptr;
  cairo_surface_set_device_scale(b->surface, q / 4.0, q / 4.0);
  return b;
}

std::shared_ptr<Bitmap> default_dc_bitmap() {
  static const std::shared_ptr<Bitmap> stock = [] {
    auto b = make_bitmap(1, 1, true);
    register_object(b, true);
    return b;
  }();
  return stock;
}

namespace {

std::shared_ptr<Bitmap> make_dib_section(const DibFormat& f) {
  auto b = std::make_shared<Bitmap>();
  b->width = f.width;
  b->height = f.height;
  b->bpp = 32;
  b->dib = f;
  b->dib_bits.assign(f.image_bytes(), 0);
  if (f.bpp == 32) {
    // The caller's bits are the pixels: a bottom-up DIB is read through a negative stride.
    const int stride = static_cast<int>(f.stride());
    unsigned char* first = b->dib_bits.data();
    if (!f.top_down) first += static_cast<std::size_t>(stride) * (f.height - 1);
    b->surface = cairo_image_surface_create_for_data(first, CAIRO_FORMAT_RGB24, f.width, f.height,
                                                     f.top_down ? stride : -stride);
  } else {
    b->own.assign(static_cast<std::size_t>(f.width) * f.height, 0);
    b->surface = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(b->own.data()),
                                                     CAIRO_FORMAT_RGB24, f.width, f.height, f.width * 4);
  }
  if (cairo_surface_status(b->surface) != CAIRO_STATUS_SUCCESS) return nullptr;
  if (f.bpp != 32) b->sync_in();
  return b;
}

// Writes DIB rows [start, start + lines) (counted from the bottom for bottom-up data, as the
// platform does) into the bitmap.
int put_dib_rows(Bitmap& b, const DibFormat& f, UINT start, UINT lines, const std::uint8_t* bits) {
  if (start >= static_cast<UINT>(f.height)) return 0;
  lines = std::min<UINT>(lines, f.height - start);
  b.sync_in();
  cairo_surface_flush(b.surface);
  std::vector<std::uint32_t> buf(f.width);
  const int w = std::min(f.width, b.width);
  for (UINT i = 0; i < lines; ++i) {
    const int stored = static_cast<int>(start + i);  // memory row within the given bits
    const int y = f.top_down ? stored : f.height - 1 - stored;
    if (y < 0 || y >= b.height) continue;
    decode_row(f, bits, static_cast<int>(i), buf.data());
    for (int x = 0; x < w; ++x)
      b.set_pixel(x, y, b.mono() ? device_pixel(pixel_to_colorref(buf[x]), true) : buf[x]);
  }
  cairo_surface_mark_dirty(b.surface);
  b.sync_out();
  return static_cast<int>(lines);
}

}  // namespace

}  // namespace platform::gdi

using namespace platform::gdi;

extern "C" {

HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int cx, int cy) {
  bool mono = false;
  if (hdc) {
    auto dc = find<Dc>(hdc);
    if (!dc) return nullptr;
    mono = dc->mono();
    // Off-screen drawing for a scaled window keeps the window's resolution.
    if (!dc->memory && dc->scaled() && cx > 0 && cy > 0)
      return issue<HBITMAP>(make_scaled_bitmap(cx, cy, dc->scale()));
  }
  if (cx == 0 || cy == 0) return static_cast<HBITMAP>(default_dc_bitmap()->handle);
  return issue<HBITMAP>(make_bitmap(cx, cy, mono));
}

HBITMAP WINAPI CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount, const void* lpBits) {
  if (nPlanes != 1 || (nBitCount != 1 && nBitCount != 32 && nBitCount != 24)) return nullptr;
  if (nWidth == 0 || nHeight == 0) return static_cast<HBITMAP>(default_dc_bitmap()->handle);
  auto b = make_bitmap(nWidth, nHeight, nBitCount == 1);
  if (!b) return nullptr;
  if (lpBits) {
    // Device bitmap rows are padded to 16 bits and run top-down.
    const auto* src = static_cast<const std::uint8_t*>(lpBits);
    const std::size_t stride = ((static_cast<std::size_t>(nWidth) * nBitCount + 15) / 16) * 2;
    for (int y = 0; y < nHeight; ++y) {
      const std::uint8_t* p = src + stride * y;
      std::uint32_t* dst = b->row(y);
      for (int x = 0; x < nWidth; ++x) {
        if (nBitCount == 1) {
          dst[x] = mono_pixel((p[x >> 3] >> (7 - (x & 7))) & 1);
        } else if (nBitCount == 24) {
          dst[x] = (std::uint32_t{p[3 * x + 2]} << 16) | (std::uint32_t{p[3 * x + 1]} << 8) | p[3 * x];
        } else {
          std::memcpy(&dst[x], p + 4 * x, 4);
        }
      }
    }
    cairo_surface_mark_dirty(b->surface);
  }
  return issue<HBITMAP>(std::move(b));
}

HBITMAP WINAPI CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* pbmih, DWORD flInit, const void* pjBits,
                              const BITMAPINFO* pbmi, UINT iUsage) {
  if (!pbmih) return nullptr;
  bool mono = false;
  if (hdc) {
    auto dc = find<Dc>(hdc);
    if (!dc) return nullptr;
    mono = dc->mono();
  }
  const LONG h = pbmih->biHeight < 0 ? -pbmih->biHeight : pbmih->biHeight;
  // The bitmap is compatible with the DC: colour unless the DC holds a monochrome bitmap.
  auto b = make_bitmap(pbmih->biWidth, h, mono);
  if (!b) return nullptr;
  if (flInit & CBM_INIT) {
    if (!pjBits || !pbmi) return nullptr;
    auto f = parse_dib(pbmi, iUsage);
    if (!f) return nullptr;
    put_dib_rows(*b, *f, 0, f->height, static_cast<const std::uint8_t*>(pjBits));
  }
  return issue<HBITMAP>(std::move(b));
}

HBITMAP WINAPI CreateDIBSection(HDC hdc, const BITMAPINFO* pbmi, UINT usage, void** ppvBits, HANDLE hSection,
                                DWORD) {
  if (ppvBits) *ppvBits = nullptr;
  if (hSection) return nullptr;  // file mappings are not supported
  if (hdc && !find<Dc>(hdc)) return nullptr;
  auto f = parse_dib(pbmi, usage);
  if (!f) return nullptr;
  auto b = make_dib_section(*f);
  if (!b) return nullptr;
  if (ppvBits) *ppvBits = b->dib_bits.data();
  return issue<HBITMAP>(std::move(b));
}

int WINAPI SetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, const void* lpBits,
                     const BITMAPINFO* lpbmi, UINT ColorUse) {
  if (hdc && !find<Dc>(hdc)) return 0;
  auto b = find<Bitmap>(hbm);
  if (!b || b->stock || !lpBits) return 0;
  auto f = parse_dib(lpbmi, ColorUse);
  if (!f) return 0;
  return put_dib_rows(*b, *f, start, cLines, static_cast<const std::uint8_t*>(lpBits));
}

int WINAPI GetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, LPVOID lpvBits, LPBITMAPINFO lpbmi,
                     UINT usage) {
  if (hdc && !find<Dc>(hdc)) return 0;
  auto b = find<Bitmap>(hbm);
  if (!b || !lpbmi || usage != DIB_RGB_COLORS) return 0;
  BITMAPINFOHEADER& h = lpbmi->bmiHeader;
  if (h.biSize < sizeof(BITMAPINFOHEADER)) return 0;
  if (!lpvBits && h.biBitCount == 0) {
    // Report the bitmap's own format.
    h.biWidth = b->width;
    h.biHeight = b->height;
    h.biPlanes = 1;
    h.biBitCount = static_cast<WORD>(b->mono() ? 1 : 32);
    h.biCompression = BI_RGB;
    h.biSizeImage =
        static_cast<DWORD>(((static_cast<std::size_t>(b->width) * h.biBitCount + 31) / 32) * 4 * b->height);
    h.biClrUsed = 0;
    h.biClrImportant = 0;
    return b->height;
  }
  if (h.biWidth != b->width && lpvBits) h.biWidth = b->width;
  const int bpp = h.biBitCount;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return 0;
  // The colour table the caller gets back: black and white for 1 bit, a grey ramp otherwise.
  if (bpp <= 8) {
    const int n = 1 << bpp;
    for (int i = 0; i < n; ++i) {
      const BYTE v = static_cast<BYTE>(i * 255 / (n - 1));
      lpbmi->bmiColors[i] = RGBQUAD{v, v, v, 0};
    }
    h.biClrUsed = 0;
  }
  if (h.biCompression != BI_BITFIELDS) h.biCompression = BI_RGB;
  auto f = parse_dib(lpbmi, usage);
  if (!f) return 0;
  h.biSizeImage = static_cast<DWORD>(f->image_bytes());
  if (!lpvBits) return b->height;
  if (start >= static_cast<UINT>(f->height)) return 0;
  cLines = std::min<UINT>(cLines, f->height - start);
  b->sync_in();
  cairo_surface_flush(b->surface);
  auto* out = static_cast<std::uint8_t*>(lpvBits);
  std::vector<std::uint32_t> buf(f->width, 0);
  for (UINT i = 0; i < cLines; ++i) {
    const int stored = static_cast<int>(start + i);
    const int y = f->top_down ? stored : f->height - 1 - stored;
    if (y >= 0 && y < b->height) {
      for (int x = 0; x < f->width; ++x) buf[x] = x < b->width ? (b->pixel(x, y) & 0xFFFFFF) : 0;
    } else {
      std::fill(buf.begin(), buf.end(), 0);
    }
    encode_row(*f, buf.data(), static_cast<int>(i), out);
  }
  return static_cast<int>(cLines);
}

BOOL WINAPI GdiFlush() {
  return TRUE;
}

}  // extern "C"
