// Device contexts: creation, clipping, the drawing canvas and the per-DC state.
#include "platform/gdi/dc.h"

#include "platform/gdi/bitmap_store.h"
#include "platform/gdi/device_scale.h"
#include "platform/gdi/handle_table.h"
#include "platform/gdi/region_access.h"
#include "platform/gdi/stock.h"
#include "platform/gdi/surface_dc.h"

namespace platform::gdi {

SharedRegion share_region(cairo_region_t* r) {
  return SharedRegion(r, [](cairo_region_t* p) { cairo_region_destroy(p); });
}

Dc::~Dc() {
  release_selections();
}

void Dc::note_selected_(GdiObject* o) {
  note_selected(o);
}
void Dc::note_deselected_(GdiObject* o) {
  note_deselected(o);
}

void Dc::release_selections() {
  select(st.pen, std::shared_ptr<Pen>());
  select(st.brush, std::shared_ptr<Brush>());
  select(st.font, std::shared_ptr<Font>());
  if (memory && st.bitmap) {
    // Keep a valid target until the DC is gone: fall back to the stock bitmap.
    auto fallback = default_dc_bitmap();
    if (st.bitmap != fallback) select(st.bitmap, fallback);
  }
}

int Dc::surface_width() const {
  const int w = cairo_image_surface_get_width(surface());
  return scaled() ? static_cast<int>(to_logical(w - 1, scale())) + 1 : w;
}

int Dc::surface_height() const {
  const int h = cairo_image_surface_get_height(surface());
  return scaled() ? static_cast<int>(to_logical(h - 1, scale())) + 1 : h;
}

RegionPtr Dc::clip_region() const {
  cairo_rectangle_int_t bounds{0, 0, surface_width(), surface_height()};
  RegionPtr r(cairo_region_create_rectangle(&bounds));
  if (visible) cairo_region_intersect(r.get(), visible.get());
  if (st.clip) {
    RegionPtr c(cairo_region_copy(st.clip.get()));
    cairo_region_translate(c.get(), origin.x, origin.y);
    cairo_region_intersect(r.get(), c.get());
  }
  return r;
}

std::uint32_t device_pixel(COLORREF c, bool mono) {
  const std::uint32_t r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
  if (mono) return (r + g + b) >= 384 ? 0xFFFFFFFFu : 0xFF000000u;
  return 0xFF000000u | (r << 16) | (g << 8) | b;
}

COLORREF pixel_to_colorref(std::uint32_t px) {
  return RGB(static_cast<BYTE>(px >> 16), static_cast<BYTE>(px >> 8), static_cast<BYTE>(px));
}

void set_source_color(cairo_t* cr, COLORREF c, bool mono) {
  const std::uint32_t px = device_pixel(c, mono);
  cairo_set_source_rgb(cr, ((px >> 16) & 0xFF) / 255.0, ((px >> 8) & 0xFF) / 255.0, (px & 0xFF) / 255.0);
}

Canvas::Canvas(Dc& dc) : dc_(dc), clip_(dc.clip_region()) {
  if (dc.scaled()) {
    // Logical edges may round past the surface's last device pixel.
    clip_ = region_to_device(clip_.get(), dc.scale());
    cairo_rectangle_int_t all{0, 0, cairo_image_surface_get_width(dc.surface()),
                              cairo_image_surface_get_height(dc.surface())};
    cairo_region_intersect_rectangle(clip_.get(), &all);
  }
  if (Bitmap* b = dc.bitmap()) b->sync_in();
}

Canvas::~Canvas() {
  const bool drew_with_cairo = cr_ != nullptr;
  cr_.reset();
  if (drew_with_cairo && dc_.mono()) {
    // Antialiased text leaves greys behind; a monochrome bitmap holds black and white only.
    Bitmap& b = *dc_.bitmap();
    cairo_surface_flush(b.surface);
    for (int y = 0; y < b.height; ++y) {
      std::uint32_t* row = b.row(y);
      for (int x = 0; x < b.width; ++x) row[x] = device_pixel(pixel_to_colorref(row[x]), true);
    }
    pixels_touched_ = true;
  }
  if (pixels_touched_) cairo_surface_mark_dirty(dc_.surface());
  if (Bitmap* b = dc_.bitmap()) b->sync_out();
}

cairo_t* Canvas::cr() {
  if (!cr_) {
    if (pixels_touched_) {
      cairo_surface_mark_dirty(dc_.surface());
      pixels_touched_ = false;
    }
    cr_.reset(cairo_create(dc_.surface()));
    cairo_t* c = cr_.get();
    // The clip is in device pixels, so that cairo and direct pixel access agree on every edge.
    if (dc_.scaled()) cairo_scale(c, 4.0 / dc_.scale(), 4.0 / dc_.scale());
    const int n = cairo_region_num_rectangles(clip_.get());
    for (int i = 0; i < n; ++i) {
      cairo_rectangle_int_t r;
      cairo_region_get_rectangle(clip_.get(), i, &r);
      cairo_rectangle(c, r.x, r.y, r.width, r.height);
    }
    cairo_clip(c);
    cairo_identity_matrix(c);
    const POINT off = dc_.offset();
    cairo_translate(c, off.x, off.y);
    cairo_set_antialias(c, CAIRO_ANTIALIAS_NONE);
  }
  return cr_.get();
}

std::uint32_t* Canvas::row(int y) {
  if (!pixels_touched_) {
    cairo_surface_flush(dc_.surface());
    pixels_touched_ = true;
  }
  cairo_surface_t* s = dc_.surface();
  return reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(s) +
                                          static_cast<std::ptrdiff_t>(y) * cairo_image_surface_get_stride(s));
}

RECT Canvas::to_device(const RECT& surface_rect) const {
  return dc_.scaled() ? gdi::to_device(surface_rect, dc_.scale()) : surface_rect;
}

RECT Canvas::logical_bounds() const {
  cairo_rectangle_int_t e;
  cairo_region_get_extents(clip_.get(), &e);
  if (dc_.scaled()) {
    const int q = dc_.scale();
    const auto x0 = to_logical(e.x, q), y0 = to_logical(e.y, q);
    e = cairo_rectangle_int_t{static_cast<int>(x0), static_cast<int>(y0),
                              static_cast<int>(to_logical(e.x + e.width, q) + 1 - x0),
                              static_cast<int>(to_logical(e.y + e.height, q) + 1 - y0)};
  }
  const POINT off = dc_.offset();
  constexpr int kMargin = 16;
  return RECT{e.x - off.x - kMargin, e.y - off.y - kMargin, e.x + e.width - off.x + kMargin,
              e.y + e.height - off.y + kMargin};
}

bool Canvas::set_brush_source(const Brush& b) {
  cairo_t* c = cr();
  if (b.style == BS_NULL) return false;
  if (b.style != BS_PATTERN || b.pattern.pixels.empty()) {
    set_source_color(c, b.color, dc_.mono());
    return true;
  }
  // Monochrome patterns take the DC's text (0) and background (1) colours.
  const PatternPixels& p = b.pattern;
  SurfacePtr tile(cairo_image_surface_create(CAIRO_FORMAT_RGB24, p.width, p.height));
  auto* data = cairo_image_surface_get_data(tile.get());
  const int stride = cairo_image_surface_get_stride(tile.get());
  const std::uint32_t fg = device_pixel(dc_.st.text_color, dc_.mono());
  const std::uint32_t bg = device_pixel(dc_.st.bk_color, dc_.mono());
  for (int y = 0; y < p.height; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    for (int x = 0; x < p.width; ++x) {
      const std::uint32_t v = p.pixels[static_cast<std::size_t>(y) * p.width + x];
      row[x] = p.mono ? (mono_bit(v) ? bg : fg) : (0xFF000000u | v);
    }
  }
  cairo_surface_mark_dirty(tile.get());
  cairo_pattern_t* pat = cairo_pattern_create_for_surface(tile.get());
  cairo_pattern_set_extend(pat, CAIRO_EXTEND_REPEAT);
  cairo_pattern_set_filter(pat, CAIRO_FILTER_NEAREST);
  // Tiles are anchored at the device origin plus the brush origin.
  cairo_matrix_t m;
  cairo_matrix_init_translate(&m, dc_.st.viewport.x - dc_.st.brush_org.x,
                              dc_.st.viewport.y - dc_.st.brush_org.y);
  cairo_pattern_set_matrix(pat, &m);
  cairo_set_source(c, pat);
  cairo_pattern_destroy(pat);
  return true;
}

RECT to_surface(const Dc& dc, RECT r) {
  long long l = r.left, t = r.top, rr = r.right, b = r.bottom;
  if (l > rr) std::swap(l, rr);
  if (t > b) std::swap(t, b);
  return to_surface(dc, l, t, rr - l, b - t);
}

RECT to_surface(const Dc& dc, long long x, long long y, long long w, long long h) {
  const POINT off = dc.offset();
  return RECT{clamp_coord(x + off.x), clamp_coord(y + off.y), clamp_coord(x + off.x + w),
              clamp_coord(y + off.y + h)};
}

namespace {

std::shared_ptr<Dc> new_dc() {
  auto dc = std::make_shared<Dc>();
  dc->select(dc->st.pen, stock<Pen>(BLACK_PEN));
  dc->select(dc->st.brush, stock<Brush>(WHITE_BRUSH));
  dc->select(dc->st.font, stock<Font>(SYSTEM_FONT));
  return dc;
}

}  // namespace

HDC create_surface_dc(cairo_surface_t* surface, POINT origin, HRGN clip, HWND owner) {
  if (!surface || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE ||
      cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS)
    return nullptr;
  auto dc = new_dc();
  dc->memory = false;
  dc->window_surface.reset(cairo_surface_reference(surface));
  dc->window_scale = surface_scale(surface);
  dc->origin = origin;
  dc->owner = owner;
  if (clip) {
    cairo_region_t* r = region_of(clip);
    if (!r) return nullptr;
    dc->visible = share_region(cairo_region_copy(r));
  }
  return issue<HDC>(std::move(dc));
}

}  // namespace platform::gdi

using namespace platform::gdi;

extern "C" {

HDC WINAPI CreateCompatibleDC(HDC hdc) {
  if (hdc && !find<Dc>(hdc)) return nullptr;
  auto dc = new_dc();
  dc->memory = true;
  dc->select(dc->st.bitmap, default_dc_bitmap());
  return issue<HDC>(std::move(dc));
}

BOOL WINAPI DeleteDC(HDC hdc) {
  auto dc = find<Dc>(hdc);
  if (!dc) return FALSE;
  dc->release_selections();
  dc->saved.clear();
  return delete_object(hdc) ? TRUE : FALSE;
}

HWND WINAPI WindowFromDC(HDC hdc) {
  auto dc = find<Dc>(hdc);
  return dc ? dc->owner : nullptr;
}

int WINAPI SaveDC(HDC hdc) {
  auto dc = find<Dc>(hdc);
  if (!dc) return 0;
  dc->saved.push_back(dc->st);
  return static_cast<int>(dc->saved.size());
}

BOOL WINAPI RestoreDC(HDC hdc, int nSavedDC) {
  auto dc = find<Dc>(hdc);
  if (!dc) return FALSE;
  const int count = static_cast<int>(dc->saved.size());
  const int index = nSavedDC < 0 ? count + nSavedDC : nSavedDC - 1;
  if (index < 0 || index >= count) return FALSE;
  DcState s = dc->saved[index];
  dc->saved.resize(index);
  dc->select(dc->st.pen, s.pen);
  dc->select(dc->st.brush, s.brush);
  dc->select(dc->st.font, s.font);
  if (dc->memory) dc->select(dc->st.bitmap, s.bitmap);
  s.pen = dc->st.pen;
  s.brush = dc->st.brush;
  s.font = dc->st.font;
  s.bitmap = dc->st.bitmap;
  dc->st = std::move(s);
  return TRUE;
}

}  // extern "C"
