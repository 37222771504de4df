#include "platform/winsys/region.h"

#include <algorithm>

namespace platform::winsys {
namespace {

cairo_rectangle_int_t to_cairo(const RECT& r) {
  return {r.left, r.top, std::max(0, r.right - r.left), std::max(0, r.bottom - r.top)};
}

}  // namespace

Region::Region(const RECT& rect) {
  cairo_rectangle_int_t c = to_cairo(rect);
  r_ = cairo_region_create_rectangle(&c);
}

Region& Region::operator=(const Region& other) {
  if (this != &other) {
    cairo_region_t* copy = cairo_region_copy(other.r_);
    cairo_region_destroy(r_);
    r_ = copy;
  }
  return *this;
}

Region& Region::operator=(Region&& other) noexcept {
  if (this != &other) std::swap(r_, other.r_);
  return *this;
}

RECT Region::extents() const {
  if (empty()) return {0, 0, 0, 0};
  cairo_rectangle_int_t e;
  cairo_region_get_extents(r_, &e);
  return {e.x, e.y, e.x + e.width, e.y + e.height};
}

void Region::clear() {
  cairo_region_destroy(r_);
  r_ = cairo_region_create();
}

void Region::add(const RECT& rect) {
  if (rect_empty(rect)) return;
  cairo_rectangle_int_t c = to_cairo(rect);
  cairo_region_union_rectangle(r_, &c);
}

void Region::subtract(const RECT& rect) {
  if (rect_empty(rect)) return;
  cairo_rectangle_int_t c = to_cairo(rect);
  cairo_region_subtract_rectangle(r_, &c);
}

void Region::intersect(const RECT& rect) {
  cairo_rectangle_int_t c = to_cairo(rect);
  cairo_region_intersect_rectangle(r_, &c);
}

RECT Region::rect_at(int i) const {
  cairo_rectangle_int_t c;
  cairo_region_get_rectangle(r_, i, &c);
  return {c.x, c.y, c.x + c.width, c.y + c.height};
}

bool rect_empty(const RECT& r) {
  return r.right <= r.left || r.bottom <= r.top;
}

RECT rect_intersection(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
         std::min(a.bottom, b.bottom)};
  if (rect_empty(r)) return {0, 0, 0, 0};
  return r;
}

RECT rect_offset(RECT r, int dx, int dy) {
  return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

bool rect_contains(const RECT& r, POINT p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

}  // namespace platform::winsys
