#include "platform/gdi/device_scale.h"

#include <algorithm>
#include <cmath>

#include "platform/gdi/dc.h"

namespace platform::gdi {

RECT to_device(const RECT& r, int q) {
  return RECT{clamp_coord(to_device(r.left, q)), clamp_coord(to_device(r.top, q)),
              clamp_coord(to_device(r.right, q)), clamp_coord(to_device(r.bottom, q))};
}

RegionPtr region_to_device(const cairo_region_t* r, int q) {
  if (q == kUnitScale) return RegionPtr(cairo_region_copy(r));
  RegionPtr out(cairo_region_create());
  const int n = cairo_region_num_rectangles(r);
  for (int i = 0; i < n; ++i) {
    cairo_rectangle_int_t p;
    cairo_region_get_rectangle(r, i, &p);
    const RECT d = to_device(RECT{p.x, p.y, p.x + p.width, p.y + p.height}, q);
    cairo_rectangle_int_t dp{d.left, d.top, d.right - d.left, d.bottom - d.top};
    if (dp.width > 0 && dp.height > 0) cairo_region_union_rectangle(out.get(), &dp);
  }
  return out;
}

int surface_scale(cairo_surface_t* s) {
  double sx = 1, sy = 1;
  cairo_surface_get_device_scale(s, &sx, &sy);
  return static_cast<int>(std::lround(sx * kUnitScale));
}

cairo_surface_t* create_scaled_surface(int width, int height, int q) {
  const int w = std::max(1, static_cast<int>(to_device(width, q)));
  const int h = std::max(1, static_cast<int>(to_device(height, q)));
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_surface_set_device_scale(s, q / 4.0, q / 4.0);
  return s;
}

int scale_quarters(double factor) {
  if (!std::isfinite(factor)) return kUnitScale;
  return static_cast<int>(std::lround(std::clamp(factor, 1.0, 4.0) * kUnitScale));
}

}  // namespace platform::gdi
