// Block transfers: PatBlt, BitBlt, StretchBlt, the DIB-to-device functions, TransparentBlt and
// AlphaBlend.
#include <algorithm>
#include <cstdlib>

#include "platform/gdi/dc.h"
#include "platform/gdi/device_scale.h"
#include "platform/gdi/handle_table.h"
#include "platform/gdi/raster.h"

using namespace platform::gdi;

namespace {

// Source rectangle of a DC as an image in the destination's colour model.
Image source_image(Dc& src, const Dc& dst, int x, int y, int w, int h) {
  Image img = read_image(src, x, y, w, h, false);
  to_destination_model(img, src.mono(), src.st.bk_color, dst);
  return img;
}

bool smooth_mode(const Dc& dst) {
  return dst.st.stretch_mode == HALFTONE;
}

// The visible `window` of the source image scaled to the destination size; a negative size
// on either side mirrors.
Image fit(const Image& img, int src_w, int src_h, int dst_w, int dst_h, bool smooth, const RECT& window) {
  const bool mirror_x = (src_w < 0) != (dst_w < 0);
  const bool mirror_y = (src_h < 0) != (dst_h < 0);
  const int aw = std::abs(dst_w), ah = std::abs(dst_h);
  const bool same_size = aw == img.width && ah == img.height;
  return scale_image(img, aw, ah, mirror_x, mirror_y, smooth && !same_size, window);
}

bool empty(const RECT& r) {
  return r.right <= r.left || r.bottom <= r.top;
}

// A stretch onto a scaled surface goes straight from the source to the device pixels, so a
// source with more pixels than the logical rectangle keeps its detail. `dest` is the whole
// destination (logical, positive size), `vis` its visible part; `img` becomes the visible
// device pixels and `device_part` where they go.
void fit_to_device(Image& img, Image* mask, const Dc& dst, const RECT& dest, const RECT& vis, int src_w,
                   int src_h, int dst_w, int dst_h, RECT& device_part) {
  const int q = dst.scale();
  const RECT full =
      to_device(to_surface(dst, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top), q);
  device_part = to_device(
      to_surface(dst, dest.left + vis.left, dest.top + vis.top, vis.right - vis.left, vis.bottom - vis.top),
      q);
  const RECT window{device_part.left - full.left, device_part.top - full.top, device_part.right - full.left,
                    device_part.bottom - full.top};
  const int fw = (dst_w < 0 ? -1 : 1) * (full.right - full.left);
  const int fh = (dst_h < 0 ? -1 : 1) * (full.bottom - full.top);
  img = fit(img, src_w, src_h, fw, fh, true, window);
  if (mask) *mask = fit(*mask, src_w, src_h, fw, fh, false, window);
}

// Normalises a rectangle with a possibly negative size to (left, top, positive size).
void normalise(int& x, int& y, int& w, int& h) {
  if (w < 0) {
    x += w + 1;
    w = -w;
  }
  if (h < 0) {
    y += h + 1;
    h = -h;
  }
}

Image dib_image(const void* bits, const BITMAPINFO* bmi, UINT usage, int xs, int ys, int ws, int hs) {
  Image img;
  auto f = parse_dib(bmi, usage);
  if (!f || !bits) return img;
  // Source coordinates count from the top-left of the image as shown.
  normalise(xs, ys, ws, hs);
  if (!valid_bitmap_size(ws, hs)) return img;
  img.width = ws;
  img.height = hs;
  img.px.assign(static_cast<std::size_t>(ws) * hs, 0);
  img.valid.assign(img.px.size(), 1);
  img.all_valid = true;
  std::vector<std::uint32_t> row(f->width);
  for (int j = 0; j < hs; ++j) {
    const int y = ys + j;
    if (y < 0 || y >= f->height) {
      img.all_valid = false;
      std::fill_n(img.valid.begin() + static_cast<std::ptrdiff_t>(j) * ws, ws, 0);
      continue;
    }
    decode_row(*f, static_cast<const std::uint8_t*>(bits), stored_row_of(*f, y), row.data());
    for (int i = 0; i < ws; ++i) {
      const int x = xs + i;
      if (x < 0 || x >= f->width) {
        img.all_valid = false;
        img.valid[static_cast<std::size_t>(j) * ws + i] = 0;
        continue;
      }
      img.px[static_cast<std::size_t>(j) * ws + i] = row[x];
    }
  }
  return img;
}

// A plain copy between two surfaces of one colour model: rows go straight across, without an
// image of the whole block in between. Pixels whose source lies off the source surface stay.
bool copy_directly(Dc& src, Dc& dst, int x, int y, int x1, int y1, const RECT& vis, DWORD rop) {
  if (((rop >> 16) & 0xFF) != 0xCC || src.mono() != dst.mono() || src.surface() == dst.surface() ||
      src.scaled() || dst.scaled())
    return false;
  Canvas from(src);
  Canvas to(dst);
  const RECT area = to_surface(dst, x + vis.left, y + vis.top, vis.right - vis.left, vis.bottom - vis.top);
  const POINT off = src.offset();
  // The source surface pixel of the area's top-left corner.
  const long long left = static_cast<long long>(x1) + vis.left + off.x;
  const long long top = static_cast<long long>(y1) + vis.top + off.y;
  const int sw = src.surface_width(), sh = src.surface_height();
  to.for_each_piece(area, [&](const RECT& piece) {
    const long long first = std::max<long long>(piece.left, area.left - left);
    const long long last = std::min<long long>(piece.right, area.left - left + sw);
    if (first >= last) return;
    for (int dy = piece.top; dy < piece.bottom; ++dy) {
      const long long sy = top + (dy - area.top);
      if (sy < 0 || sy >= sh) continue;
      const std::uint32_t* in = from.row(static_cast<int>(sy)) + (left + (first - area.left));
      std::uint32_t* out = to.row(dy) + first;
      for (long long n = last - first; n > 0; --n) *out++ = (*in++ & 0x00FFFFFFu) | 0xFF000000u;
    }
  });
  return true;
}

}  // namespace

extern "C" {

BOOL WINAPI PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop) {
  auto dc = find<Dc>(hdc);
  if (!dc || rop_uses_source(rop)) return FALSE;
  normalise(x, y, w, h);
  Canvas c(*dc);
  apply_rop(c, x, y, w, h, nullptr, rop);
  return TRUE;
}

BOOL WINAPI BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop) {
  auto dst = find<Dc>(hdc);
  if (!dst) return FALSE;
  if (!rop_uses_source(rop)) return PatBlt(hdc, x, y, cx, cy, rop);
  auto src = find<Dc>(hdcSrc);
  if (!src || cx < 0 || cy < 0) return FALSE;
  // Only the visible part is read; and read first, as source and destination may share pixels.
  const RECT vis = visible_part(*dst, x, y, cx, cy);
  if (empty(vis)) return TRUE;
  if (copy_directly(*src, *dst, x, y, x1, y1, vis, rop)) return TRUE;
  if (dst->scaled() && src->scale() == dst->scale()) {
    // Between windows of one scale the device pixels move as they are.
    const int vw = vis.right - vis.left, vh = vis.bottom - vis.top;
    Image img = read_device_image(
        *src, to_device(to_surface(*src, x1 + vis.left, y1 + vis.top, vw, vh), src->scale()));
    Canvas c(*dst);
    apply_rop_device(c, c.to_device(to_surface(*dst, x + vis.left, y + vis.top, vw, vh)), &img, rop);
    return TRUE;
  }
  Image img =
      source_image(*src, *dst, x1 + vis.left, y1 + vis.top, vis.right - vis.left, vis.bottom - vis.top);
  Canvas c(*dst);
  apply_rop(c, x + vis.left, y + vis.top, 0, 0, &img, rop);
  return TRUE;
}

BOOL WINAPI StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc,
                       int ySrc, int wSrc, int hSrc, DWORD rop) {
  auto dst = find<Dc>(hdcDest);
  if (!dst) return FALSE;
  if (!rop_uses_source(rop)) return PatBlt(hdcDest, xDest, yDest, wDest, hDest, rop);
  auto src = find<Dc>(hdcSrc);
  if (!src || wSrc == 0 || hSrc == 0 || wDest == 0 || hDest == 0) return FALSE;
  int sx = xSrc, sy = ySrc, sw = wSrc, sh = hSrc;
  normalise(sx, sy, sw, sh);
  if (!valid_bitmap_size(sw, sh)) return FALSE;
  int dx = xDest, dy = yDest, dw = wDest, dh = hDest;
  normalise(dx, dy, dw, dh);
  const RECT vis = visible_part(*dst, dx, dy, dw, dh);
  if (empty(vis)) return TRUE;
  Image img = source_image(*src, *dst, sx, sy, sw, sh);
  if (dst->scaled()) {
    RECT part;
    fit_to_device(img, nullptr, *dst, RECT{dx, dy, dx + dw, dy + dh}, vis, wSrc, hSrc, wDest, hDest, part);
    Canvas c(*dst);
    apply_rop_device(c, part, &img, rop);
    return TRUE;
  }
  img = fit(img, wSrc, hSrc, wDest, hDest, smooth_mode(*dst), vis);
  Canvas c(*dst);
  apply_rop(c, dx + vis.left, dy + vis.top, 0, 0, &img, rop);
  return TRUE;
}

int WINAPI StretchDIBits(HDC hdc, int xDest, int yDest, int DestWidth, int DestHeight, int xSrc, int ySrc,
                         int SrcWidth, int SrcHeight, const void* lpBits, const BITMAPINFO* lpbmi,
                         UINT iUsage, DWORD rop) {
  auto dst = find<Dc>(hdc);
  if (!dst || SrcWidth == 0 || SrcHeight == 0 || DestWidth == 0 || DestHeight == 0) return 0;
  if (!valid_bitmap_size(std::abs(SrcWidth), std::abs(SrcHeight))) return 0;
  Image img = dib_image(lpBits, lpbmi, iUsage, xSrc, ySrc, SrcWidth, SrcHeight);
  if (img.px.empty()) return 0;
  to_destination_model(img, false, 0, *dst);
  int dx = xDest, dy = yDest, dw = DestWidth, dh = DestHeight;
  normalise(dx, dy, dw, dh);
  const RECT vis = visible_part(*dst, dx, dy, dw, dh);
  if (!empty(vis)) {
    // The validity of pixels outside the DIB travels through the scaling as a mask.
    Image mask;
    const bool masked = !img.all_valid;
    if (masked) {
      mask.width = img.width;
      mask.height = img.height;
      mask.px.assign(img.valid.begin(), img.valid.end());
    }
    RECT part{};
    if (dst->scaled()) {
      fit_to_device(img, masked ? &mask : nullptr, *dst, RECT{dx, dy, dx + dw, dy + dh}, vis, SrcWidth,
                    SrcHeight, DestWidth, DestHeight, part);
    } else {
      img = fit(img, SrcWidth, SrcHeight, DestWidth, DestHeight, smooth_mode(*dst), vis);
      if (masked) mask = fit(mask, SrcWidth, SrcHeight, DestWidth, DestHeight, false, vis);
    }
    if (masked) {
      img.all_valid = false;
      img.valid.assign(mask.px.begin(), mask.px.end());
    }
    Canvas c(*dst);
    if (dst->scaled())
      apply_rop_device(c, part, &img, rop);
    else
      apply_rop(c, dx + vis.left, dy + vis.top, 0, 0, &img, rop);
  }
  return std::abs(SrcHeight);
}

int WINAPI SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD w, DWORD h, int xSrc, int ySrc,
                             UINT StartScan, UINT cLines, const void* lpvBits, const BITMAPINFO* lpbmi,
                             UINT ColorUse) {
  auto dst = find<Dc>(hdc);
  auto f = parse_dib(lpbmi, ColorUse);
  if (!dst || !f || !lpvBits || StartScan != 0 || cLines < static_cast<UINT>(f->height)) return 0;
  Image img = dib_image(lpvBits, lpbmi, ColorUse, xSrc, ySrc, static_cast<int>(w), static_cast<int>(h));
  if (img.px.empty()) return 0;
  Canvas c(*dst);
  apply_rop(c, xDest, yDest, img.width, img.height, &img, SRCCOPY);
  return static_cast<int>(cLines);
}

BOOL WINAPI TransparentBlt(HDC hdcDest, int xoriginDest, int yoriginDest, int wDest, int hDest, HDC hdcSrc,
                           int xoriginSrc, int yoriginSrc, int wSrc, int hSrc, UINT crTransparent) {
  auto dst = find<Dc>(hdcDest);
  auto src = find<Dc>(hdcSrc);
  if (!dst || !src || wDest <= 0 || hDest <= 0 || !valid_bitmap_size(wSrc, hSrc)) return FALSE;
  const RECT vis = visible_part(*dst, xoriginDest, yoriginDest, wDest, hDest);
  if (empty(vis)) return TRUE;
  Image img = read_image(*src, xoriginSrc, yoriginSrc, wSrc, hSrc, false);
  const std::uint32_t key = device_pixel(crTransparent, src->mono()) & 0xFFFFFF;
  // The key is matched in the source's own colours, before any conversion or scaling.
  Image mask;
  mask.width = img.width;
  mask.height = img.height;
  mask.px.resize(img.px.size());
  for (std::size_t i = 0; i < img.px.size(); ++i)
    mask.px[i] = (img.all_valid || img.valid[i]) && img.px[i] != key;
  to_destination_model(img, src->mono(), src->st.bk_color, *dst);
  img = fit(img, wSrc, hSrc, wDest, hDest, false, vis);
  mask = fit(mask, wSrc, hSrc, wDest, hDest, false, vis);
  img.all_valid = false;
  img.valid.assign(mask.px.begin(), mask.px.end());
  Canvas c(*dst);
  apply_rop(c, xoriginDest + vis.left, yoriginDest + vis.top, 0, 0, &img, SRCCOPY);
  return TRUE;
}

BOOL WINAPI AlphaBlend(HDC hdcDest, int xoriginDest, int yoriginDest, int wDest, int hDest, HDC hdcSrc,
                       int xoriginSrc, int yoriginSrc, int wSrc, int hSrc, BLENDFUNCTION ftn) {
  auto dst = find<Dc>(hdcDest);
  auto src = find<Dc>(hdcSrc);
  if (!dst || !src || ftn.BlendOp != AC_SRC_OVER || wDest < 0 || hDest < 0 || wSrc < 0 || hSrc < 0)
    return FALSE;
  if (wDest == 0 || hDest == 0 || wSrc == 0 || hSrc == 0) return TRUE;
  if (!valid_bitmap_size(wSrc, hSrc) || !valid_bitmap_size(wDest, hDest)) return FALSE;
  const bool per_pixel = (ftn.AlphaFormat & AC_SRC_ALPHA) != 0;
  Image img = read_image(*src, xoriginSrc, yoriginSrc, wSrc, hSrc, per_pixel);
  if (!per_pixel) {
    for (auto& v : img.px) v |= 0xFF000000u;
    img.has_alpha = true;
  }
  // Pixels outside the source surface contribute nothing.
  if (!img.all_valid)
    for (std::size_t i = 0; i < img.px.size(); ++i)
      if (!img.valid[i]) img.px[i] = 0;
  // Premultiplied colours must not exceed their alpha for cairo.
  for (auto& v : img.px) {
    const std::uint32_t a = v >> 24;
    std::uint32_t r = (v >> 16) & 0xFF, g = (v >> 8) & 0xFF, b = v & 0xFF;
    r = std::min(r, a);
    g = std::min(g, a);
    b = std::min(b, a);
    v = (a << 24) | (r << 16) | (g << 8) | b;
  }
  SurfacePtr surface(cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(img.px.data()),
                                                         CAIRO_FORMAT_ARGB32, img.width, img.height,
                                                         img.width * 4));
  Canvas c(*dst);
  cairo_t* cr = c.cr();
  cairo_save(cr);
  cairo_rectangle(cr, xoriginDest, yoriginDest, wDest, hDest);
  cairo_clip(cr);
  cairo_translate(cr, xoriginDest, yoriginDest);
  cairo_scale(cr, static_cast<double>(wDest) / wSrc, static_cast<double>(hDest) / hSrc);
  cairo_set_source_surface(cr, surface.get(), 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), (wDest == wSrc && hDest == hSrc && !dst->scaled())
                                                     ? CAIRO_FILTER_NEAREST
                                                     : CAIRO_FILTER_GOOD);
  cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
  cairo_paint_with_alpha(cr, ftn.SourceConstantAlpha / 255.0);
  cairo_restore(cr);
  return TRUE;
}

}  // extern "C"
