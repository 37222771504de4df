// Scrolling a window's pixels: the moved part is copied, the uncovered part is invalidated.
#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "platform/display/backend.h"
#include "platform/gdi/device_scale.h"
#include "platform/gdi/region_access.h"
#include "platform/gdi/surface_dc.h"
#include "platform/winsys/dispatch.h"
#include "platform/winsys/surface_access.h"
#include "platform/winsys/window_internal.h"
#include "platform/winsys/window_lookup.h"

using namespace platform::winsys;

namespace {

// Copies the device pixels of `from` (window coordinates) moved by (dx, dy) into `to`.
void move_pixels(cairo_surface_t* pixels, const RECT& from, int dx, int dy, const Region& to) {
  namespace gdi = platform::gdi;
  const int q = gdi::surface_scale(pixels);
  cairo_surface_flush(pixels);
  const RECT src = gdi::to_device(from, q);
  const int ddx = static_cast<int>(gdi::to_device(from.left + dx, q) - src.left);
  const int ddy = static_cast<int>(gdi::to_device(from.top + dy, q) - src.top);
  const int sw = cairo_image_surface_get_width(pixels), sh = cairo_image_surface_get_height(pixels);
  const int stride = cairo_image_surface_get_stride(pixels);
  unsigned char* data = cairo_image_surface_get_data(pixels);
  const int w = std::max(0, static_cast<int>(std::min<LONG>(src.right, sw) - std::max<LONG>(src.left, 0)));
  const int h = std::max(0, static_cast<int>(std::min<LONG>(src.bottom, sh) - std::max<LONG>(src.top, 0)));
  if (w == 0 || h == 0) return;
  const int x0 = std::max<LONG>(src.left, 0), y0 = std::max<LONG>(src.top, 0);
  // The source first, as it overlaps the destination.
  std::vector<std::uint32_t> copy(static_cast<std::size_t>(w) * h);
  for (int j = 0; j < h; ++j)
    std::memcpy(&copy[static_cast<std::size_t>(j) * w],
                data + static_cast<std::ptrdiff_t>(y0 + j) * stride + x0 * 4,
                static_cast<std::size_t>(w) * 4);
  gdi::RegionPtr dest = gdi::region_to_device(to.raw(), q);
  const cairo_rectangle_int_t bounds{0, 0, sw, sh};
  cairo_region_intersect_rectangle(dest.get(), &bounds);
  for (int i = 0; i < cairo_region_num_rectangles(dest.get()); ++i) {
    cairo_rectangle_int_t r;
    cairo_region_get_rectangle(dest.get(), i, &r);
    for (int y = r.y; y < r.y + r.height; ++y) {
      const int sy = y - ddy - y0;
      if (sy < 0 || sy >= h) continue;
      auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
      for (int x = r.x; x < r.x + r.width; ++x) {
        const int sx = x - ddx - x0;
        if (sx >= 0 && sx < w) row[x] = copy[static_cast<std::size_t>(sy) * w + sx];
      }
    }
  }
  cairo_surface_mark_dirty(pixels);
}

}  // namespace

extern "C" {

int ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update,
                   LPRECT update_rect, UINT flags) {
  std::vector<HWND> move_children;
  Region uncovered;
  HWND top_handle = nullptr;
  RECT dirty{};
  {
    LockedWindow w(hwnd);
    if (!w || is_desktop_locked(*w)) return ERROR;
    RECT client = client_size_rect(*w);
    RECT src = scroll ? rect_intersection(*scroll, client) : client;
    RECT bounds = clip ? rect_intersection(*clip, client) : client;
    RECT area = client_area_in_top(*w);
    auto top = top_level_of_locked(w.ptr());
    Region vis = visible_region_locked(*w, false);
    // Pixels move inside the visible part: what lands outside the source is lost.
    Region dest(rect_offset(src, dx, dy));
    dest.intersect(bounds);
    dest.intersect(Region(src).extents());
    Region dest_in_top = dest;
    dest_in_top.offset(area.left, area.top);
    dest_in_top.intersect(vis);
    if (top && top->surface && !dest_in_top.empty()) {
      std::lock_guard guard(top->surface->mutex);
      move_pixels(top->surface->pixels, rect_offset(src, area.left, area.top), dx, dy, dest_in_top);
      top_handle = top->handle;
      dirty = dest_in_top.extents();
    }
    // What was not covered by moved pixels needs painting.
    uncovered = Region(rect_intersection(src, bounds));
    Region moved_in = dest;
    // Only pixels that were visible could be copied.
    Region vis_client = vis;
    vis_client.offset(-area.left, -area.top);
    Region src_vis = vis_client;
    src_vis.offset(dx, dy);
    moved_in.intersect(src_vis);
    uncovered.subtract(moved_in);
    // The pending update region moves with the pixels.
    Region pending = w->update;
    pending.intersect(src);
    w->update.subtract(src);
    pending.offset(dx, dy);
    pending.intersect(bounds);
    w->update.add(pending);
    if (flags & SW_INVALIDATE) {
      invalidate_locked(*w, &uncovered,
                        RDW_INVALIDATE | ((flags & SW_ERASE) ? RDW_ERASE : 0) |
                            ((flags & SW_SCROLLCHILDREN) ? RDW_ALLCHILDREN : 0));
    }
    if (flags & SW_SCROLLCHILDREN)
      for (HWND h : w->children)
        if (auto c = find_locked(h); c && !rect_empty(rect_intersection(c->window_rect, src)))
          move_children.push_back(h);
  }
  for (HWND h : move_children) {
    RECT r;
    {
      Lock lock(wm_mutex());
      auto c = find_locked(h);
      if (!c) continue;
      r = c->window_rect;
    }
    SetWindowPos(h, nullptr, r.left + dx, r.top + dy, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  }
  if (update_rect) *update_rect = uncovered.extents();
  if (update) {
    if (cairo_region_t* dst = platform::gdi::region_of(update)) {
      cairo_region_subtract(dst, dst);
      cairo_region_union(dst, uncovered.raw());
    }
  }
  present(top_handle, dirty);
  return uncovered.empty() ? NULLREGION : uncovered.rect_count() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip) {
  return ScrollWindowEx(hwnd, dx, dy, scroll, clip, nullptr, nullptr, SW_INVALIDATE | SW_ERASE) != ERROR;
}

BOOL ScrollDC(HDC dc, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update, LPRECT update_rect) {
  HWND hwnd = dc ? WindowFromDC(dc) : nullptr;
  if (!hwnd) return FALSE;
  return ScrollWindowEx(hwnd, dx, dy, scroll, clip, update, update_rect, 0) != ERROR;
}

}  // extern "C"
