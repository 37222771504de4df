// Scrolling a window's pixels: the moved part is copied, the uncovered part is invalidated.
#include <algorithm>
#include <unordered_map>

#include "platform/display/backend.h"
#include "platform/gdi/region_access.h"
#include "platform/gdi/surface_dc.h"
#include "platform/winsys/dispatch.h"
#include "platform/winsys/surface_access.h"
#include "platform/winsys/window_internal.h"
#include "platform/winsys/window_lookup.h"

using namespace platform::winsys;

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
      cairo_surface_t* pixels = top->surface->pixels;
      cairo_surface_flush(pixels);
      RECT s = rect_offset(src, area.left, area.top);
      cairo_surface_t* copy =
          cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(1L, static_cast<long>(s.right - s.left)),
                                     std::max(1L, static_cast<long>(s.bottom - s.top)));
      cairo_t* c1 = cairo_create(copy);
      cairo_set_source_surface(c1, pixels, -s.left, -s.top);
      cairo_set_operator(c1, CAIRO_OPERATOR_SOURCE);
      cairo_paint(c1);
      cairo_destroy(c1);
      cairo_t* cr = cairo_create(pixels);
      for (int i = 0; i < dest_in_top.rect_count(); ++i) {
        RECT r = dest_in_top.rect_at(i);
        cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
      }
      cairo_clip(cr);
      cairo_set_source_surface(cr, copy, s.left + dx, s.top + dy);
      cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
      cairo_paint(cr);
      cairo_destroy(cr);
      cairo_surface_destroy(copy);
      cairo_surface_mark_dirty(pixels);
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
