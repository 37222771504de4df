// The drawing objects behind GDI handles: pens, brushes, regions, bitmaps, icons.
// Fonts and device contexts have their own headers (font.h, dc.h).
#pragma once

#include <cairo.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/api/gdi.h"
#include "platform/gdi/dib_codec.h"
#include "platform/gdi/scale_math.h"

namespace platform::gdi {

enum class Kind { pen, brush, font, bitmap, region, dc, icon };

class GdiObject {
 public:
  explicit GdiObject(Kind kind) : kind_(kind) {}
  virtual ~GdiObject() = default;
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  Kind kind() const { return kind_; }

  // Set once by the handle table.
  void* handle = nullptr;
  bool stock = false;
  // How many device contexts have this object selected right now; deletion waits for zero.
  std::atomic<int> selections{0};
  std::atomic<bool> delete_pending{false};

 private:
  Kind kind_;
};

struct RegionDeleter {
  void operator()(cairo_region_t* r) const { cairo_region_destroy(r); }
};
using RegionPtr = std::unique_ptr<cairo_region_t, RegionDeleter>;
struct SurfaceDeleter {
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
using SurfacePtr = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;
struct CairoDeleter {
  void operator()(cairo_t* c) const { cairo_destroy(c); }
};
using CairoPtr = std::unique_ptr<cairo_t, CairoDeleter>;

class Pen : public GdiObject {
 public:
  static constexpr Kind kKind = Kind::pen;
  Pen(int style, int width, COLORREF color) : GdiObject(kKind), style(style), width(width), color(color) {}
  const int style;
  const int width;
  const COLORREF color;
};

// Pixels of a pattern brush, copied when the brush is made (the bitmap may be deleted after).
struct PatternPixels {
  int width = 0;
  int height = 0;
  bool mono = false;
  std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, top row first
};

class Brush : public GdiObject {
 public:
  static constexpr Kind kKind = Kind::brush;
  Brush(UINT style, COLORREF color) : GdiObject(kKind), style(style), color(color) {}
  const UINT style;
  const COLORREF color;
  PatternPixels pattern;  // BS_PATTERN only
};

class Region : public GdiObject {
 public:
  static constexpr Kind kKind = Kind::region;
  explicit Region(RegionPtr r) : GdiObject(kKind), rgn(std::move(r)) {}
  RegionPtr rgn;
};

// A bitmap's pixels are 32-bit words 0xXXRRGGBB wrapped by an RGB24 cairo surface whose first
// row is the top row. A 32-bit DIB section's surface wraps the caller-visible bits directly
// (with a negative stride when bottom-up); other DIB sections keep their bits in their own
// format and are converted around each use.
class Bitmap : public GdiObject {
 public:
  static constexpr Kind kKind = Kind::bitmap;
  Bitmap() : GdiObject(kKind) {}
  ~Bitmap() override;

  int width = 0;
  int height = 0;
  int bpp = 32;  // 1 for monochrome bitmaps
  // A bitmap made compatible with a scaled window holds device pixels (its surface carries the
  // scale); its size and every pixel read or written through the API stay logical.
  int scale = 4;
  bool mono() const { return bpp == 1; }

  // DIB sections: the caller's layout and bits.
  std::optional<DibFormat> dib;
  std::vector<std::uint8_t> dib_bits;

  std::vector<std::uint32_t> own;  // pixel storage unless the surface wraps dib_bits
  cairo_surface_t* surface = nullptr;

  std::uint32_t* row(int y) const {
    return reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface) +
                                            static_cast<std::ptrdiff_t>(y) *
                                                cairo_image_surface_get_stride(surface));
  }
  // Logical pixel access: the first device pixel of (x, y), or the whole block on write.
  std::uint32_t pixel(int x, int y) const {
    return scale == 4 ? row(y)[x] : row(static_cast<int>(to_device(y, scale)))[to_device(x, scale)];
  }
  void set_pixel(int x, int y, std::uint32_t v) const {
    if (scale == 4) {
      row(y)[x] = v;
      return;
    }
    for (auto dy = to_device(y, scale); dy < to_device(y + 1, scale); ++dy)
      for (auto dx = to_device(x, scale); dx < to_device(x + 1, scale); ++dx)
        row(static_cast<int>(dy))[dx] = v;
  }
  // Brings the surface up to date with bits the caller may have written (non-32-bit DIBs).
  void sync_in();
  // Writes the surface back into the caller's bits (non-32-bit DIBs).
  void sync_out();
};

// An icon or cursor: XOR colour image, AND mask and, for 32-bit images, straight alpha.
class Icon : public GdiObject {
 public:
  static constexpr Kind kKind = Kind::icon;
  Icon() : GdiObject(kKind) {}
  int width = 0;
  int height = 0;
  POINT hotspot{0, 0};
  bool is_icon = true;
  bool has_alpha = false;
  std::vector<std::uint32_t> color;  // 0xAARRGGBB, alpha meaningful when has_alpha
  std::vector<std::uint8_t> mask;    // 1 = screen shows through (AND mask bit)
};

}  // namespace platform::gdi
