// Icons and cursors: made from resource bits (DIB with AND mask, or PNG), from bitmaps or from
// ARGB pixels; drawn with DrawIconEx.
#include <png.h>

#include <algorithm>
#include <cstring>

#include "platform/gdi/bitmap_store.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/device_scale.h"
#include "platform/gdi/handle_table.h"
#include "platform/gdi/icon_image.h"
#include "platform/gdi/raster.h"

namespace platform::gdi {
namespace {

constexpr int kDefaultIconSize = 32;

std::uint32_t premultiply(std::uint32_t v) {
  const std::uint32_t a = v >> 24;
  auto ch = [a](std::uint32_t c) { return (c * a + 127) / 255; };
  return (a << 24) | (ch((v >> 16) & 0xFF) << 16) | (ch((v >> 8) & 0xFF) << 8) | ch(v & 0xFF);
}

// Alpha is used when it says something: some pixel not fully transparent and some not opaque,
// or everything opaque-but-varied; an all-zero or all-0xFF channel means "use the mask".
bool alpha_meaningful(const std::vector<std::uint32_t>& px) {
  bool nonzero = false, not_opaque = false;
  for (std::uint32_t v : px) {
    const std::uint32_t a = v >> 24;
    nonzero |= a != 0;
    not_opaque |= a != 0xFF;
  }
  return nonzero && not_opaque;
}

std::shared_ptr<Icon> finish_icon(std::shared_ptr<Icon> icon) {
  icon->has_alpha = alpha_meaningful(icon->color);
  if (icon->has_alpha) {
    for (std::size_t i = 0; i < icon->color.size(); ++i) icon->mask[i] = (icon->color[i] >> 24) == 0;
  }
  return icon;
}

std::shared_ptr<Icon> icon_from_png(const std::uint8_t* data, std::size_t size) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, data, size)) return nullptr;
  if (!valid_bitmap_size(image.width, image.height) || image.width > 1024 || image.height > 1024) {
    png_image_free(&image);
    return nullptr;
  }
  image.format = PNG_FORMAT_BGRA;
  std::vector<std::uint32_t> px(static_cast<std::size_t>(image.width) * image.height);
  if (!png_image_finish_read(&image, nullptr, px.data(), 0, nullptr)) {
    png_image_free(&image);
    return nullptr;
  }
  auto icon = std::make_shared<Icon>();
  icon->width = static_cast<int>(image.width);
  icon->height = static_cast<int>(image.height);
  icon->color = std::move(px);  // B, G, R, A bytes are 0xAARRGGBB words on this machine
  icon->mask.assign(icon->color.size(), 0);
  png_image_free(&image);
  auto out = finish_icon(std::move(icon));
  out->has_alpha = true;
  for (std::size_t i = 0; i < out->color.size(); ++i) out->mask[i] = (out->color[i] >> 24) == 0;
  return out;
}

std::shared_ptr<Icon> icon_from_dib(const std::uint8_t* data, std::size_t size) {
  if (size < sizeof(BITMAPINFOHEADER)) return nullptr;
  BITMAPINFOHEADER h;
  std::memcpy(&h, data, sizeof(h));
  if (h.biHeight <= 0 || (h.biHeight & 1) || h.biWidth <= 0 || h.biWidth > 1024 || h.biHeight > 2048)
    return nullptr;
  // The header's height covers the XOR image and the AND mask together.
  std::vector<std::uint8_t> header(data, data + std::min<std::size_t>(size, h.biSize + 256 * 4));
  reinterpret_cast<BITMAPINFOHEADER*>(header.data())->biHeight = h.biHeight / 2;
  auto f = parse_dib(reinterpret_cast<const BITMAPINFO*>(header.data()), DIB_RGB_COLORS, header.size());
  if (!f) return nullptr;
  const std::size_t xor_bytes = f->image_bytes();
  const std::size_t mask_stride = ((static_cast<std::size_t>(f->width) + 31) / 32) * 4;
  const std::size_t mask_bytes = mask_stride * f->height;
  if (f->header_bytes > size || xor_bytes > size - f->header_bytes) return nullptr;
  const std::uint8_t* xor_bits = data + f->header_bytes;
  const std::size_t after_xor = f->header_bytes + xor_bytes;
  // A 32-bit image may come without its mask; every other one needs it whole.
  const bool has_mask = size - after_xor >= mask_bytes;
  if (!has_mask && f->bpp != 32) return nullptr;
  const std::uint8_t* mask_bits = has_mask ? data + after_xor : nullptr;

  auto icon = std::make_shared<Icon>();
  icon->width = f->width;
  icon->height = f->height;
  icon->color.assign(static_cast<std::size_t>(f->width) * f->height, 0);
  icon->mask.assign(icon->color.size(), 0);
  for (int y = 0; y < f->height; ++y) {
    const int stored = stored_row_of(*f, y);
    std::uint32_t* row = icon->color.data() + static_cast<std::size_t>(y) * f->width;
    decode_row(*f, xor_bits, stored, row);
    if (f->bpp == 32) {
      const std::uint8_t* p = xor_bits + f->stride() * stored;
      for (int x = 0; x < f->width; ++x) row[x] |= std::uint32_t{p[4 * x + 3]} << 24;
    }
    if (mask_bits) {
      const std::uint8_t* m = mask_bits + mask_stride * stored;
      for (int x = 0; x < f->width; ++x)
        icon->mask[static_cast<std::size_t>(y) * f->width + x] = (m[x >> 3] >> (7 - (x & 7))) & 1;
    }
  }
  icon = finish_icon(std::move(icon));
  if (!icon->has_alpha) {
    for (std::size_t i = 0; i < icon->color.size(); ++i)
      icon->color[i] = (icon->color[i] & 0xFFFFFF) | (icon->mask[i] ? 0u : 0xFF000000u);
  }
  return icon;
}

// Nearest-neighbour resize of an icon to w x h.
std::shared_ptr<Icon> resized(const Icon& src, int w, int h) {
  auto icon = std::make_shared<Icon>();
  icon->width = w;
  icon->height = h;
  icon->hotspot =
      POINT{src.hotspot.x * w / std::max(1, src.width), src.hotspot.y * h / std::max(1, src.height)};
  icon->is_icon = src.is_icon;
  icon->has_alpha = src.has_alpha;
  icon->color.resize(static_cast<std::size_t>(w) * h);
  icon->mask.resize(icon->color.size());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const std::size_t s = static_cast<std::size_t>(y * src.height / h) * src.width + x * src.width / w;
      icon->color[static_cast<std::size_t>(y) * w + x] = src.color[s];
      icon->mask[static_cast<std::size_t>(y) * w + x] = src.mask[s];
    }
  return icon;
}

std::shared_ptr<Icon> copy_icon(const Icon& src) {
  return resized(src, src.width, src.height);
}

// An icon enlarged for a scaled surface: alpha icons with a smoothing filter, mask icons (whose
// colours under the mask mean nothing) pixel for pixel.
std::shared_ptr<Icon> smoothed(const Icon& src, int w, int h) {
  if (!src.has_alpha) return resized(src, w, h);
  Image img;
  img.width = src.width;
  img.height = src.height;
  img.has_alpha = true;
  img.px.resize(src.color.size());
  std::transform(src.color.begin(), src.color.end(), img.px.begin(), premultiply);
  img = scale_image(img, w, h, false, false, true, RECT{0, 0, w, h});
  auto icon = resized(src, w, h);
  for (std::size_t i = 0; i < img.px.size(); ++i) {
    const std::uint32_t v = img.px[i], a = v >> 24;
    auto ch = [a](std::uint32_t c) { return a ? std::min<std::uint32_t>(255, (c * 255 + a / 2) / a) : 0; };
    icon->color[i] = (a << 24) | (ch((v >> 16) & 0xFF) << 16) | (ch((v >> 8) & 0xFF) << 8) | ch(v & 0xFF);
    icon->mask[i] = a == 0;
  }
  return icon;
}

// Draws `icon` (of the area's size) over `area`, in device pixels.
void draw_icon(Canvas& c, const Icon& icon, const RECT& area, UINT flags) {
  Dc& dc = c.dc();
  const bool mono = dc.mono();
  c.for_each_piece(area, [&](const RECT& p) {
    for (int sy = p.top; sy < p.bottom; ++sy) {
      std::uint32_t* row = c.row(sy);
      for (int sx = p.left; sx < p.right; ++sx) {
        const std::size_t k = static_cast<std::size_t>(sy - area.top) * icon.width + (sx - area.left);
        std::uint32_t& d = row[sx];
        const std::uint32_t colour = icon.color[k] & 0xFFFFFF;
        if ((flags & DI_NORMAL) == DI_NORMAL && icon.has_alpha) {
          const std::uint32_t a = icon.color[k] >> 24;
          auto mix = [a](std::uint32_t s, std::uint32_t t) { return (s * a + t * (255 - a) + 127) / 255; };
          d = 0xFF000000u | (mix((colour >> 16) & 0xFF, (d >> 16) & 0xFF) << 16) |
              (mix((colour >> 8) & 0xFF, (d >> 8) & 0xFF) << 8) | mix(colour & 0xFF, d & 0xFF);
        } else if ((flags & DI_NORMAL) == DI_NORMAL) {
          d = ((d & (icon.mask[k] ? 0xFFFFFFu : 0u)) ^ colour) | 0xFF000000u;
        } else if (flags & DI_MASK) {
          d = (d & (icon.mask[k] ? 0xFFFFFFu : 0u)) | 0xFF000000u;
        } else if (flags & DI_IMAGE) {
          d = colour | 0xFF000000u;
        }
        if (mono) d = device_pixel(pixel_to_colorref(d), true);
      }
    }
  });
}

}  // namespace

bool icon_pixels(HICON h, bool premultiplied, IconPixels& out) {
  auto icon = find<Icon>(h);
  if (!icon) return false;
  out.width = icon->width;
  out.height = icon->height;
  out.hotspot = icon->hotspot;
  out.is_cursor = !icon->is_icon;
  out.argb.resize(icon->color.size());
  for (std::size_t i = 0; i < icon->color.size(); ++i) {
    std::uint32_t v = icon->color[i];
    if (!icon->has_alpha) v = icon->mask[i] ? ((v & 0xFFFFFF) ? 0xFF000000u : 0u) : (v | 0xFF000000u);
    out.argb[i] = premultiplied ? premultiply(v) : v;
  }
  return true;
}

HICON create_icon_from_argb(std::span<const std::uint32_t> argb, int width, int height, POINT hotspot,
                            bool is_cursor) {
  if (!valid_bitmap_size(width, height) || argb.size() != static_cast<std::size_t>(width) * height)
    return nullptr;
  auto icon = std::make_shared<Icon>();
  icon->width = width;
  icon->height = height;
  icon->hotspot = hotspot;
  icon->is_icon = !is_cursor;
  icon->color.assign(argb.begin(), argb.end());
  icon->mask.assign(argb.size(), 0);
  icon->has_alpha = true;
  for (std::size_t i = 0; i < argb.size(); ++i) icon->mask[i] = (argb[i] >> 24) == 0;
  return issue<HICON>(std::move(icon));
}

}  // namespace platform::gdi

using namespace platform::gdi;

extern "C" {

HICON WINAPI CreateIconFromResourceEx(BYTE* presbits, DWORD dwResSize, BOOL fIcon, DWORD, int cxDesired,
                                      int cyDesired, UINT Flags) {
  if (!presbits || dwResSize == 0) return nullptr;
  const std::uint8_t* data = presbits;
  std::size_t size = dwResSize;
  POINT hotspot{0, 0};
  if (!fIcon) {
    // Cursor resources start with the hotspot.
    if (size < 4) return nullptr;
    hotspot = POINT{data[0] | (data[1] << 8), data[2] | (data[3] << 8)};
    data += 4;
    size -= 4;
  }
  static constexpr std::uint8_t kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  std::shared_ptr<Icon> icon =
      size >= 8 && std::memcmp(data, kPng, 8) == 0 ? icon_from_png(data, size) : icon_from_dib(data, size);
  if (!icon) return nullptr;
  icon->is_icon = fIcon != FALSE;
  icon->hotspot = fIcon ? POINT{icon->width / 2, icon->height / 2} : hotspot;
  int w = cxDesired, h = cyDesired;
  if ((Flags & LR_DEFAULTSIZE) && w == 0) w = kDefaultIconSize;
  if ((Flags & LR_DEFAULTSIZE) && h == 0) h = kDefaultIconSize;
  if (w <= 0) w = icon->width;
  if (h <= 0) h = icon->height;
  if (w != icon->width || h != icon->height) {
    if (!valid_bitmap_size(w, h)) return nullptr;
    icon = resized(*icon, w, h);
  }
  return issue<HICON>(std::move(icon));
}

HICON WINAPI CreateIconFromResource(BYTE* presbits, DWORD dwResSize, BOOL fIcon, DWORD dwVer) {
  return CreateIconFromResourceEx(presbits, dwResSize, fIcon, dwVer, 0, 0, LR_DEFAULTCOLOR);
}

HICON WINAPI CreateIconIndirect(PICONINFO piconinfo) {
  if (!piconinfo) return nullptr;
  auto mask = find<Bitmap>(piconinfo->hbmMask);
  if (!mask) return nullptr;
  auto colour = piconinfo->hbmColor ? find<Bitmap>(piconinfo->hbmColor) : nullptr;
  if (piconinfo->hbmColor && !colour) return nullptr;
  auto icon = std::make_shared<Icon>();
  icon->is_icon = piconinfo->fIcon != FALSE;
  icon->width = mask->width;
  // A monochrome icon's mask bitmap holds the AND mask over the XOR image.
  icon->height = colour ? mask->height : mask->height / 2;
  if (colour && (colour->width != mask->width || colour->height < icon->height)) return nullptr;
  if (icon->height <= 0) return nullptr;
  mask->sync_in();
  cairo_surface_flush(mask->surface);
  if (colour) {
    colour->sync_in();
    cairo_surface_flush(colour->surface);
  }
  icon->color.resize(static_cast<std::size_t>(icon->width) * icon->height);
  icon->mask.resize(icon->color.size());
  for (int y = 0; y < icon->height; ++y) {
    for (int x = 0; x < icon->width; ++x) {
      const std::size_t k = static_cast<std::size_t>(y) * icon->width + x;
      icon->mask[k] = mono_bit(mask->pixel(x, y)) ? 1 : 0;
      icon->color[k] = colour ? colour->pixel(x, y) : (mask->pixel(x, y + icon->height) & 0xFFFFFF);
    }
  }
  // Bitmaps other than 32-bit DIB sections carry no alpha of their own.
  if (!(colour && colour->dib && colour->dib->bpp == 32))
    for (auto& v : icon->color) v &= 0xFFFFFF;
  icon = finish_icon(std::move(icon));
  if (!icon->has_alpha)
    for (std::size_t i = 0; i < icon->color.size(); ++i)
      icon->color[i] = (icon->color[i] & 0xFFFFFF) | (icon->mask[i] ? 0u : 0xFF000000u);
  icon->hotspot = piconinfo->fIcon
                      ? POINT{icon->width / 2, icon->height / 2}
                      : POINT{static_cast<LONG>(piconinfo->xHotspot), static_cast<LONG>(piconinfo->yHotspot)};
  return issue<HICON>(std::move(icon));
}

BOOL WINAPI GetIconInfo(HICON hIcon, PICONINFO piconinfo) {
  auto icon = find<Icon>(hIcon);
  if (!icon || !piconinfo) return FALSE;
  auto mask = make_bitmap(icon->width, icon->height, true);
  auto colour = make_bitmap(icon->width, icon->height, false);
  if (!mask || !colour) return FALSE;
  for (int y = 0; y < icon->height; ++y)
    for (int x = 0; x < icon->width; ++x) {
      const std::size_t k = static_cast<std::size_t>(y) * icon->width + x;
      mask->row(y)[x] = mono_pixel(icon->mask[k] != 0);
      // The colour bitmap keeps the alpha in its otherwise unused top byte.
      colour->row(y)[x] = icon->has_alpha ? icon->color[k] : (icon->color[k] & 0xFFFFFF);
    }
  cairo_surface_mark_dirty(mask->surface);
  cairo_surface_mark_dirty(colour->surface);
  piconinfo->fIcon = icon->is_icon ? TRUE : FALSE;
  piconinfo->xHotspot = static_cast<DWORD>(icon->hotspot.x);
  piconinfo->yHotspot = static_cast<DWORD>(icon->hotspot.y);
  piconinfo->hbmMask = issue<HBITMAP>(std::move(mask));
  piconinfo->hbmColor = issue<HBITMAP>(std::move(colour));
  return TRUE;
}

HICON WINAPI CopyIcon(HICON hIcon) {
  auto icon = find<Icon>(hIcon);
  if (!icon) return nullptr;
  auto copy = copy_icon(*icon);
  copy->hotspot = icon->hotspot;
  return issue<HICON>(std::move(copy));
}

BOOL WINAPI DestroyIcon(HICON hIcon) {
  if (!find<Icon>(hIcon)) return FALSE;
  return delete_object(hIcon) ? TRUE : FALSE;
}

BOOL WINAPI DestroyCursor(HCURSOR hCursor) {
  return DestroyIcon(hCursor);
}

BOOL WINAPI DrawIconEx(HDC hdc, int xLeft, int yTop, HICON hIcon, int cxWidth, int cyWidth, UINT,
                       HBRUSH hbrFlickerFreeDraw, UINT diFlags) {
  auto dc = find<Dc>(hdc);
  auto icon = find<Icon>(hIcon);
  if (!dc || !icon) return FALSE;
  if ((diFlags & DI_NORMAL) == 0) return FALSE;
  int w = cxWidth, h = cyWidth;
  if (w == 0) w = (diFlags & DI_DEFAULTSIZE) ? kDefaultIconSize : icon->width;
  if (h == 0) h = (diFlags & DI_DEFAULTSIZE) ? kDefaultIconSize : icon->height;
  if (!valid_bitmap_size(w, h)) return FALSE;
  Canvas c(*dc);
  const RECT area = c.to_device(to_surface(*dc, xLeft, yTop, w, h));
  const int dw = area.right - area.left, dh = area.bottom - area.top;
  if (dw <= 0 || dh <= 0) return TRUE;
  std::shared_ptr<Icon> shown = (dw == icon->width && dh == icon->height) ? icon
                                : dc->scaled()                            ? smoothed(*icon, dw, dh)
                                                                          : resized(*icon, dw, dh);
  if (hbrFlickerFreeDraw) {
    // Drawn over the brush first, as into an off-screen buffer.
    auto brush = find<Brush>(hbrFlickerFreeDraw);
    if (brush && c.set_brush_source(*brush)) {
      cairo_rectangle(c.cr(), xLeft, yTop, w, h);
      cairo_fill(c.cr());
    }
  }
  draw_icon(c, *shown, area, diFlags);
  return TRUE;
}

BOOL WINAPI DrawIcon(HDC hDC, int X, int Y, HICON hIcon) {
  return DrawIconEx(hDC, X, Y, hIcon, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
}

}  // extern "C"
