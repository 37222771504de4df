// A rectangle region owned by value, for the window system's own bookkeeping (update regions,
// visible regions). Wraps cairo_region_t; empty by default.
#pragma once

#include <cairo.h>

#include "platform/api/types.h"

namespace platform::winsys {

class Region {
 public:
  Region() : r_(cairo_region_create()) {}
  explicit Region(const RECT& rect);
  Region(const Region& other) : r_(cairo_region_copy(other.r_)) {}
  Region(Region&& other) noexcept : r_(other.r_) { other.r_ = cairo_region_create(); }
  Region& operator=(const Region& other);
  Region& operator=(Region&& other) noexcept;
  ~Region() { cairo_region_destroy(r_); }

  bool empty() const { return cairo_region_is_empty(r_); }
  RECT extents() const;
  bool contains(POINT p) const { return cairo_region_contains_point(r_, p.x, p.y); }
  void clear();
  void add(const RECT& rect);
  void add(const Region& other) { cairo_region_union(r_, other.r_); }
  void subtract(const RECT& rect);
  void subtract(const Region& other) { cairo_region_subtract(r_, other.r_); }
  void intersect(const RECT& rect);
  void intersect(const Region& other) { cairo_region_intersect(r_, other.r_); }
  void offset(int dx, int dy) { cairo_region_translate(r_, dx, dy); }
  int rect_count() const { return cairo_region_num_rectangles(r_); }
  RECT rect_at(int i) const;
  const cairo_region_t* raw() const { return r_; }
  // A new gdi region (HRGN) with the same rectangles; the caller deletes it.
  HRGN to_hrgn() const;
  // The rectangles of a gdi region; empty when `rgn` is not a region.
  static Region from_hrgn(HRGN rgn);

 private:
  cairo_region_t* r_;
};

bool rect_empty(const RECT& r);
RECT rect_intersection(const RECT& a, const RECT& b);
RECT rect_offset(RECT r, int dx, int dy);
bool rect_contains(const RECT& r, POINT p);

}  // namespace platform::winsys
