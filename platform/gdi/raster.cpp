#include "platform/gdi/raster.h"

#include <algorithm>

#include "platform/gdi/bitmap_store.h"
#include "platform/gdi/device_scale.h"

namespace platform::gdi {
namespace {

std::uint32_t rop3(unsigned code, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
  switch (code) {
    case 0x00:
      return 0;
    case 0xFF:
      return 0xFFFFFF;
    case 0xCC:
      return s;
    case 0xF0:
      return p;
    case 0x55:
      return ~d;
    case 0x88:
      return s & d;
    case 0xEE:
      return s | d;
    case 0x66:
      return s ^ d;
    case 0x44:
      return s & ~d;
    case 0x33:
      return ~s;
    case 0x11:
      return ~(s | d);
    case 0x22:
      return ~s & d;
    case 0xC0:
      return p & s;
    case 0xBB:
      return ~s | d;
    case 0x5A:
      return p ^ d;
    default:
      break;
  }
  // Any other code: its bit i gives the result for pattern, source, destination bits
  // (i >> 2, i >> 1, i) & 1.
  std::uint32_t r = 0;
  for (unsigned i = 0; i < 8; ++i)
    if ((code >> i) & 1) r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
  return r;
}

// The destination DC's brush as a pattern value per surface pixel.
class PatternSource {
 public:
  explicit PatternSource(const Dc& dc) : dc_(dc), brush_(*dc.st.brush) {
    if (brush_.style == BS_SOLID) solid_ = device_pixel(brush_.color, dc.mono());
    fg_ = device_pixel(dc.st.text_color, dc.mono());
    bg_ = device_pixel(dc.st.bk_color, dc.mono());
  }
  // (sx, sy): a device pixel; patterns repeat in logical pixels.
  std::uint32_t at(int sx, int sy) const {
    if (brush_.style != BS_PATTERN || brush_.pattern.pixels.empty()) return solid_;
    if (dc_.scaled()) {
      sx = static_cast<int>(to_logical(sx, dc_.scale()));
      sy = static_cast<int>(to_logical(sy, dc_.scale()));
    }
    const PatternPixels& p = brush_.pattern;
    const POINT off{dc_.origin.x + dc_.st.brush_org.x, dc_.origin.y + dc_.st.brush_org.y};
    int px = (sx - off.x) % p.width, py = (sy - off.y) % p.height;
    if (px < 0) px += p.width;
    if (py < 0) py += p.height;
    const std::uint32_t v = p.pixels[static_cast<std::size_t>(py) * p.width + px];
    return p.mono ? (mono_bit(v) ? bg_ : fg_) : v;
  }

 private:
  const Dc& dc_;
  const Brush& brush_;
  std::uint32_t solid_ = 0;
  std::uint32_t fg_ = 0, bg_ = 0;
};

}  // namespace

Image read_image(Dc& src, int x, int y, int w, int h, bool keep_alpha) {
  Image img;
  img.has_alpha = keep_alpha;
  if (!valid_bitmap_size(w, h)) return img;
  img.width = w;
  img.height = h;
  img.px.assign(static_cast<std::size_t>(img.width) * img.height, 0);
  if (img.px.empty()) return img;
  Canvas c(src);
  const POINT off = src.offset();
  const int sw = src.surface_width(), sh = src.surface_height();
  const int q = src.scale();
  const std::uint32_t mask = keep_alpha ? 0xFFFFFFFFu : 0x00FFFFFFu;
  auto invalidate = [&](std::size_t from, std::size_t count) {
    if (count == 0) return;
    if (img.all_valid) {
      img.valid.assign(img.px.size(), 1);
      img.all_valid = false;
    }
    std::fill_n(img.valid.begin() + static_cast<std::ptrdiff_t>(from), count, 0);
  };
  // The columns of the request that fall on the surface, the same for every row.
  const long long left = static_cast<long long>(x) + off.x;
  const int first = static_cast<int>(std::clamp<long long>(-left, 0, img.width));
  const int last = static_cast<int>(std::clamp<long long>(sw - left, first, img.width));
  for (int j = 0; j < img.height; ++j) {
    const std::size_t at = static_cast<std::size_t>(j) * img.width;
    const long long sy = static_cast<long long>(y) + j + off.y;
    if (sy < 0 || sy >= sh) {
      invalidate(at, static_cast<std::size_t>(img.width));
      continue;
    }
    invalidate(at, static_cast<std::size_t>(first));
    invalidate(at + static_cast<std::size_t>(last), static_cast<std::size_t>(img.width - last));
    std::uint32_t* out = img.px.data() + at + first;
    if (src.scaled()) {
      // Each logical pixel reads the device pixel at its top-left corner.
      const std::uint32_t* row = c.row(static_cast<int>(to_device(sy, q)));
      for (int i = first; i < last; ++i) *out++ = row[to_device(left + i, q)] & mask;
      continue;
    }
    const std::uint32_t* row = c.row(static_cast<int>(sy)) + (left + first);
    for (int i = first; i < last; ++i) *out++ = *row++ & mask;
  }
  return img;
}

Image read_device_image(Dc& src, const RECT& device_rect) {
  Image img;
  const int w = device_rect.right - device_rect.left, h = device_rect.bottom - device_rect.top;
  if (!valid_bitmap_size(w, h)) return img;
  img.width = w;
  img.height = h;
  img.px.assign(static_cast<std::size_t>(w) * h, 0);
  img.valid.assign(img.px.size(), 0);
  img.all_valid = false;
  Canvas c(src);
  cairo_surface_t* s = src.surface();
  const int sw = cairo_image_surface_get_width(s), sh = cairo_image_surface_get_height(s);
  bool all = true;
  for (int j = 0; j < h; ++j) {
    const int sy = device_rect.top + j;
    if (sy < 0 || sy >= sh) {
      all = false;
      continue;
    }
    const std::uint32_t* row = c.row(sy);
    for (int i = 0; i < w; ++i) {
      const int sx = device_rect.left + i;
      if (sx < 0 || sx >= sw) {
        all = false;
        continue;
      }
      const std::size_t k = static_cast<std::size_t>(j) * w + i;
      img.px[k] = row[sx] & 0x00FFFFFFu;
      img.valid[k] = 1;
    }
  }
  if (all) {
    img.all_valid = true;
    img.valid.clear();
  }
  return img;
}

void to_destination_model(Image& img, bool src_mono, COLORREF src_bk, const Dc& dst) {
  const bool dst_mono = dst.mono();
  if (src_mono && !dst_mono) {
    // Monochrome to colour: 0 bits take the text colour, 1 bits the background colour.
    const std::uint32_t fg = device_pixel(dst.st.text_color, false) & 0xFFFFFF;
    const std::uint32_t bg = device_pixel(dst.st.bk_color, false) & 0xFFFFFF;
    for (auto& v : img.px) v = mono_bit(v) ? bg : fg;
  } else if (!src_mono && dst_mono) {
    // Colour to monochrome: the source's background colour becomes white, all else black.
    const std::uint32_t bk = device_pixel(src_bk, false) & 0xFFFFFF;
    for (auto& v : img.px) v = (v & 0xFFFFFF) == bk ? 0xFFFFFF : 0;
  }
}

Image scale_image(const Image& img, int dw, int dh, bool mirror_x, bool mirror_y, bool smooth,
                  const RECT& window) {
  Image out;
  out.has_alpha = img.has_alpha;
  out.width = window.right - window.left;
  out.height = window.bottom - window.top;
  if (img.px.empty() || dw <= 0 || dh <= 0 || out.width <= 0 || out.height <= 0) {
    out.width = out.height = 0;
    return out;
  }
  out.px.assign(static_cast<std::size_t>(out.width) * out.height, 0);
  if (!smooth) {
    for (int j = 0; j < out.height; ++j) {
      const long long dy = window.top + j;
      int sj = static_cast<int>((dy * img.height) / dh);
      if (mirror_y) sj = img.height - 1 - sj;
      for (int i = 0; i < out.width; ++i) {
        const long long dx = window.left + i;
        int si = static_cast<int>((dx * img.width) / dw);
        if (mirror_x) si = img.width - 1 - si;
        out.px[static_cast<std::size_t>(j) * out.width + i] =
            img.px[static_cast<std::size_t>(sj) * img.width + si];
      }
    }
    return out;
  }
  // Area averaging: every destination pixel is the mean of the source area it covers,
  // weighted by coverage (bilinear when enlarging).
  const cairo_format_t format = img.has_alpha ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24;
  SurfacePtr src(cairo_image_surface_create_for_data(
      reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(img.px.data())), format, img.width,
      img.height, img.width * 4));
  SurfacePtr dst(cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(out.px.data()), format,
                                                     out.width, out.height, out.width * 4));
  {
    CairoPtr cr(cairo_create(dst.get()));
    cairo_set_operator(cr.get(), CAIRO_OPERATOR_SOURCE);
    cairo_translate(cr.get(), -window.left, -window.top);
    cairo_translate(cr.get(), mirror_x ? dw : 0, mirror_y ? dh : 0);
    cairo_scale(cr.get(), (mirror_x ? -1.0 : 1.0) * dw / img.width,
                (mirror_y ? -1.0 : 1.0) * dh / img.height);
    cairo_set_source_surface(cr.get(), src.get(), 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr.get()), CAIRO_FILTER_GOOD);
    cairo_pattern_set_extend(cairo_get_source(cr.get()), CAIRO_EXTEND_PAD);
    cairo_paint(cr.get());
  }
  cairo_surface_flush(dst.get());
  if (!img.has_alpha)
    for (auto& v : out.px) v &= 0x00FFFFFF;
  return out;
}

RECT visible_part(const Dc& dst, int x, int y, int w, int h) {
  const RECT area = to_surface(dst, x, y, w, h);
  cairo_rectangle_int_t r{area.left, area.top, area.right - area.left, area.bottom - area.top};
  RegionPtr clip = dst.clip_region();
  cairo_region_intersect_rectangle(clip.get(), &r);
  if (cairo_region_is_empty(clip.get())) return RECT{0, 0, 0, 0};
  cairo_rectangle_int_t e;
  cairo_region_get_extents(clip.get(), &e);
  return RECT{e.x - area.left, e.y - area.top, e.x + e.width - area.left, e.y + e.height - area.top};
}

Image resample(const Image& img, int w, int h) {
  const RECT whole{0, 0, w, h};
  Image out = scale_image(img, w, h, false, false, true, whole);
  if (!img.all_valid) {
    Image mask;
    mask.width = img.width;
    mask.height = img.height;
    mask.px.assign(img.valid.begin(), img.valid.end());
    mask = scale_image(mask, w, h, false, false, false, whole);
    out.all_valid = false;
    out.valid.assign(mask.px.begin(), mask.px.end());
  }
  return out;
}

void apply_rop(Canvas& dst, int x, int y, int w, int h, const Image* src, DWORD rop) {
  if (src) {
    w = src->width;
    h = src->height;
  }
  if (w <= 0 || h <= 0) return;
  apply_rop_device(dst, dst.to_device(to_surface(dst.dc(), x, y, w, h)), src, rop);
}

void apply_rop_device(Canvas& dst, const RECT& area, const Image* src, DWORD rop) {
  Dc& dc = dst.dc();
  const int w = area.right - area.left, h = area.bottom - area.top;
  if (w <= 0 || h <= 0) return;
  // A source drawn onto a scaled surface is enlarged with a smoothing filter.
  Image fitted;
  if (src && (src->width != w || src->height != h)) {
    fitted = resample(*src, w, h);
    if (fitted.px.empty()) return;
    src = &fitted;
  }
  const unsigned code = (rop >> 16) & 0xFF;
  const PatternSource pattern(dc);
  const bool needs_pattern = rop_uses_pattern(rop);
  // Copying a fully valid source, and filling with a solid brush, need no per-pixel operation.
  const bool plain_copy = src != nullptr && src->all_valid && code == 0xCC;
  const bool plain_fill = src == nullptr && code == 0xF0 && dc.st.brush->style == BS_SOLID;
  dst.for_each_piece(area, [&](const RECT& piece) {
    if (plain_copy || plain_fill) {
      const std::uint32_t fill = (pattern.at(0, 0) & 0x00FFFFFFu) | 0xFF000000u;
      for (int sy = piece.top; sy < piece.bottom; ++sy) {
        std::uint32_t* out = dst.row(sy) + piece.left;
        std::uint32_t* const end = out + (piece.right - piece.left);
        if (plain_fill) {
          std::fill(out, end, fill);
          continue;
        }
        const std::uint32_t* in =
            src->px.data() + static_cast<std::size_t>(sy - area.top) * w + (piece.left - area.left);
        while (out != end) *out++ = (*in++ & 0x00FFFFFFu) | 0xFF000000u;
      }
      return;
    }
    for (int sy = piece.top; sy < piece.bottom; ++sy) {
      std::uint32_t* row = dst.row(sy);
      const std::size_t src_row = static_cast<std::size_t>(sy - area.top) * w;
      for (int sx = piece.left; sx < piece.right; ++sx) {
        std::uint32_t s = 0;
        if (src) {
          const std::size_t k = src_row + (sx - area.left);
          if (!src->all_valid && !src->valid[k]) continue;
          s = src->px[k];
        }
        const std::uint32_t p = needs_pattern ? pattern.at(sx, sy) : 0;
        row[sx] = (rop3(code, p, s, row[sx]) & 0x00FFFFFFu) | 0xFF000000u;
      }
    }
  });
}

}  // namespace platform::gdi
