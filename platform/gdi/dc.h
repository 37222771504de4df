// Device contexts: a target surface, an origin, clipping and the selected objects and modes.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "platform/gdi/font.h"
#include "platform/gdi/objects.h"

namespace platform::gdi {

using SharedRegion = std::shared_ptr<cairo_region_t>;  // never changed once shared
SharedRegion share_region(cairo_region_t* r);

struct DcState {
  std::shared_ptr<Pen> pen;
  std::shared_ptr<Brush> brush;
  std::shared_ptr<Font> font;
  std::shared_ptr<Bitmap> bitmap;  // memory DCs only
  COLORREF text_color = RGB(0, 0, 0);
  COLORREF bk_color = RGB(255, 255, 255);
  int bk_mode = OPAQUE;
  UINT text_align = TA_LEFT | TA_TOP;
  int stretch_mode = BLACKONWHITE;
  int rop2 = R2_COPYPEN;
  POINT viewport{0, 0};
  POINT pos{0, 0};
  POINT brush_org{0, 0};
  SharedRegion clip;  // device coordinates; null: no application clip
};

class Dc : public GdiObject {
 public:
  static constexpr Kind kKind = Kind::dc;
  Dc() : GdiObject(kKind) {}
  ~Dc() override;

  bool memory = true;
  SurfacePtr window_surface;  // surface DCs
  POINT origin{0, 0};         // device origin on the surface
  SharedRegion visible;       // surface coordinates; null: the whole surface
  HWND owner = nullptr;
  int window_scale = 4;  // quarters; window surfaces of a scaled desktop draw at device resolution
  DcState st;
  std::vector<DcState> saved;

  cairo_surface_t* surface() const { return memory ? st.bitmap->surface : window_surface.get(); }
  Bitmap* bitmap() const { return memory ? st.bitmap.get() : nullptr; }
  bool mono() const { return memory && st.bitmap->mono(); }
  // Device pixels per logical pixel, in quarters: a scaled window's, or a memory DC bitmap's
  // made compatible with one.
  int scale() const { return memory ? st.bitmap->scale : window_scale; }
  bool scaled() const { return scale() != 4; }
  // The surface's size in logical pixels.
  int surface_width() const;
  int surface_height() const;
  // Logical to surface coordinates.
  POINT offset() const { return {origin.x + st.viewport.x, origin.y + st.viewport.y}; }
  // Where drawing may land, in surface coordinates (never null).
  RegionPtr clip_region() const;

  // Replace a selected object, keeping the selection counts right.
  template <class T>
  void select(std::shared_ptr<T>& slot, std::shared_ptr<T> value) {
    note_selected_(value.get());
    auto old = std::move(slot);
    slot = std::move(value);
    note_deselected_(old.get());
  }
  void release_selections();

 private:
  static void note_selected_(GdiObject* o);
  static void note_deselected_(GdiObject* o);
};

// Colour as a surface pixel; monochrome targets get black or white by brightness.
std::uint32_t device_pixel(COLORREF c, bool mono);
COLORREF pixel_to_colorref(std::uint32_t px);
void set_source_color(cairo_t* cr, COLORREF c, bool mono);

// Coordinates far outside any surface are pinned to this bound so arithmetic cannot overflow.
inline constexpr long long kCoordLimit = 1LL << 28;
inline LONG clamp_coord(long long v) {
  return static_cast<LONG>(v < -kCoordLimit ? -kCoordLimit : v > kCoordLimit ? kCoordLimit : v);
}

// One drawing operation on a DC: keeps DIB bits in step and manages the cairo context and the
// direct pixel access.
class Canvas {
 public:
  explicit Canvas(Dc& dc);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  Dc& dc() { return dc_; }
  // Clipped, translated to logical coordinates, no antialiasing.
  cairo_t* cr();
  // Direct pixels in device coordinates (flushes cairo first). Device and surface coordinates
  // are the same on unscaled surfaces; see to_device() for the others.
  std::uint32_t* row(int y);
  const cairo_region_t* clip() const { return clip_.get(); }
  // The device rectangle of a surface rectangle.
  RECT to_device(const RECT& surface_rect) const;
  // Runs `fn(RECT)` for every piece of `device_rect` inside the clip.
  template <class F>
  void for_each_piece(const RECT& device_rect, F fn) {
    cairo_rectangle_int_t r{device_rect.left, device_rect.top, device_rect.right - device_rect.left,
                            device_rect.bottom - device_rect.top};
    if (r.width <= 0 || r.height <= 0) return;
    RegionPtr piece(cairo_region_create_rectangle(&r));
    cairo_region_intersect(piece.get(), clip_.get());
    const int n = cairo_region_num_rectangles(piece.get());
    for (int i = 0; i < n; ++i) {
      cairo_rectangle_int_t p;
      cairo_region_get_rectangle(piece.get(), i, &p);
      fn(RECT{p.x, p.y, p.x + p.width, p.y + p.height});
    }
  }
  // Runs `fn(std::uint32_t&)` for every device pixel of logical surface pixel (x, y) inside
  // the clip: one pixel on an unscaled surface, a block on a scaled one.
  template <class F>
  void for_each_device_pixel(long long x, long long y, F fn) {
    const RECT d = to_device(RECT{clamp_coord(x), clamp_coord(y), clamp_coord(x + 1), clamp_coord(y + 1)});
    cairo_rectangle_int_t r{d.left, d.top, d.right - d.left, d.bottom - d.top};
    if (cairo_region_contains_rectangle(clip_.get(), &r) != CAIRO_REGION_OVERLAP_IN) {
      if (r.width == 1 && r.height == 1) return;
      for_each_piece(d, [&](const RECT& p) { fill_block(p, fn); });
      return;
    }
    fill_block(d, fn);
  }
  // The clip's extents in logical coordinates, a little enlarged: shapes are cut to it before
  // they reach cairo, whose fixed-point coordinates cannot hold far-away points.
  RECT logical_bounds() const;
  // Brush as a cairo source on cr(); false for the null brush.
  bool set_brush_source(const Brush& b);

 private:
  template <class F>
  void fill_block(const RECT& d, F& fn) {
    for (int y = d.top; y < d.bottom; ++y) {
      std::uint32_t* r = row(y);
      for (int x = d.left; x < d.right; ++x) fn(r[x]);
    }
  }

  Dc& dc_;
  RegionPtr clip_;  // device coordinates
  CairoPtr cr_;
  bool pixels_touched_ = false;
};

// Surface-coordinate rectangle from logical coordinates (normalised and clamped).
RECT to_surface(const Dc& dc, RECT logical);
RECT to_surface(const Dc& dc, long long x, long long y, long long w, long long h);

}  // namespace platform::gdi
