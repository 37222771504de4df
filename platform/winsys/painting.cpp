// Update regions and paint messages: what needs repainting, WM_PAINT generation and the
// immediate updates of RedrawWindow and UpdateWindow.
#include <algorithm>
#include <unordered_map>

#include "platform/display/backend.h"
#include "platform/gdi/region_access.h"
#include "platform/gdi/surface_dc.h"
#include "platform/winsys/dispatch.h"
#include "platform/winsys/surface_access.h"
#include "platform/winsys/window_internal.h"
#include "platform/winsys/window_lookup.h"

namespace platform::winsys {
namespace {

HWND find_paint_in(const Window& w, DWORD tid, HWND filter, bool inside_filter) {
  if (!(w.style & WS_VISIBLE)) return nullptr;
  bool inside = inside_filter || !filter || w.handle == filter;
  if (inside && w.thread_id == tid && needs_paint(w)) return w.handle;
  for (HWND h : w.children)
    if (auto c = find_locked(h))
      if (HWND found = find_paint_in(*c, tid, filter, inside)) return found;
  return nullptr;
}

void update_now(HWND hwnd, bool children, bool erase_only) {
  bool frame = false, erase = false, paint = false;
  {
    Lock lock(wm_mutex());
    auto w = find_locked(hwnd);
    if (!w || !really_visible_locked(*w)) return;
    paint = needs_paint(*w);
    if (erase_only) {
      frame = w->frame_pending;
      erase = w->erase_pending && !w->update.empty();
      w->frame_pending = false;
      w->erase_pending = false;
    }
  }
  if (erase_only) {
    if (frame) SendMessageA(hwnd, WM_NCPAINT, 1, 0);
    if (erase) {
      HRGN upd = CreateRectRgn(0, 0, 0, 0);
      GetUpdateRgn(hwnd, upd, FALSE);
      HDC dc = GetDCEx(hwnd, upd, DCX_INTERSECTRGN);
      SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
      ReleaseDC(hwnd, dc);
      DeleteObject(upd);
    }
  } else if (paint) {
    SendMessageA(hwnd, WM_PAINT, 0, 0);
  }
  if (!children) return;
  std::vector<HWND> kids;
  {
    Lock lock(wm_mutex());
    if (auto w = find_locked(hwnd)) kids = w->children;
  }
  for (HWND k : kids) update_now(k, true, erase_only);
}

BOOL redraw(HWND hwnd, const RECT* rect, HRGN rgn, UINT flags) {
  {
    Lock lock(wm_mutex());
    auto w = hwnd ? checked_locked(hwnd) : state_locked().desktop;
    if (!w) return FALSE;
    if (is_desktop_locked(*w)) {
      // The whole screen: every top-level window.
      for (HWND h : w->children)
        if (auto t = find_locked(h)) invalidate_locked(*t, nullptr, flags | RDW_FRAME | RDW_ALLCHILDREN);
    } else if (rgn) {
      Region area = Region::from_hrgn(rgn);
      invalidate_locked(*w, &area, flags);
    } else if (rect) {
      Region area(*rect);
      invalidate_locked(*w, &area, flags);
    } else {
      invalidate_locked(*w, nullptr, flags);
    }
  }
  if (!hwnd) return TRUE;
  bool children = (flags & RDW_ALLCHILDREN) != 0;
  if (flags & RDW_UPDATENOW)
    update_now(hwnd, children, false);
  else if (flags & RDW_ERASENOW)
    update_now(hwnd, children, true);
  return TRUE;
}

int region_complexity(const cairo_region_t* r) {
  int n = cairo_region_num_rectangles(r);
  return n == 0 ? NULLREGION : n == 1 ? SIMPLEREGION : COMPLEXREGION;
}

}  // namespace

bool needs_paint(const Window& w) {
  return !w.update.empty() || w.internal_paint || w.frame_pending;
}

bool has_frame(const Window& w) {
  return w.client_rect.left != w.window_rect.left || w.client_rect.top != w.window_rect.top ||
         w.client_rect.right != w.window_rect.right || w.client_rect.bottom != w.window_rect.bottom;
}

RECT window_area_in_top(const Window& w) {
  POINT o = window_origin_in_top_locked(w);
  return {o.x, o.y, o.x + (w.window_rect.right - w.window_rect.left),
          o.y + (w.window_rect.bottom - w.window_rect.top)};
}

RECT client_area_in_top(const Window& w) {
  POINT o = window_origin_in_top_locked(w);
  POINT c = client_offset_in_window(w);
  return {o.x + c.x, o.y + c.y, o.x + c.x + (w.client_rect.right - w.client_rect.left),
          o.y + c.y + (w.client_rect.bottom - w.client_rect.top)};
}

HWND find_paint_window_locked(DWORD thread_id, HWND filter) {
  State& s = state_locked();
  for (HWND h : s.desktop->children)
    if (auto w = find_locked(h))
      if (HWND found = find_paint_in(*w, thread_id, filter, false)) return found;
  return nullptr;
}

void invalidate_locked(Window& w, const Region* area, UINT flags) {
  if (is_desktop_locked(w) || !really_visible_locked(w)) return;
  RECT client = client_size_rect(w);
  Region r = area ? *area : Region(client);
  r.intersect(client);
  if (flags & RDW_INVALIDATE) {
    if (!r.empty()) {
      w.update.add(r);
      if (flags & RDW_ERASE) w.erase_pending = true;
    }
    if ((flags & RDW_FRAME) && has_frame(w)) w.frame_pending = true;
  } else if (flags & RDW_VALIDATE) {
    if (area)
      w.update.subtract(r);
    else
      w.update.clear();
    if (flags & RDW_NOFRAME) w.frame_pending = false;
    if (flags & RDW_NOERASE) w.erase_pending = false;
    if (flags & RDW_NOINTERNALPAINT) w.internal_paint = false;
    if (w.update.empty()) w.erase_pending = false;
  }
  if (flags & RDW_INTERNALPAINT) w.internal_paint = true;
  bool include = (flags & RDW_ALLCHILDREN) || (!(flags & RDW_NOCHILDREN) && !(w.style & WS_CLIPCHILDREN));
  if (!include) return;
  // The parent's area, in its client coordinates, reaches the children it overlaps.
  Region parent_area = area ? *area : Region(client);
  parent_area.intersect(client);
  for (HWND h : w.children) {
    auto c = find_locked(h);
    if (!c || !(c->style & WS_VISIBLE)) continue;
    Region sub = parent_area;
    sub.intersect(c->window_rect);
    if (sub.empty()) continue;
    UINT child_flags = flags;
    Region inside = sub;
    inside.subtract(c->client_rect);
    if (!inside.empty() && (flags & RDW_INVALIDATE)) child_flags |= RDW_FRAME;
    sub.offset(-c->client_rect.left, -c->client_rect.top);
    invalidate_locked(*c, &sub, child_flags);
  }
}

void invalidate_top_area_locked(Window& top, const RECT& area) {
  RECT whole{0, 0, top.window_rect.right - top.window_rect.left,
             top.window_rect.bottom - top.window_rect.top};
  RECT hit = rect_intersection(area, whole);
  if (rect_empty(hit)) return;
  POINT c = client_offset_in_window(top);
  Region client_part(rect_offset(hit, -c.x, -c.y));
  UINT flags = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN;
  Region outside(hit);
  outside.subtract(rect_offset(client_size_rect(top), c.x, c.y));
  if (!outside.empty()) flags |= RDW_FRAME;
  invalidate_locked(top, &client_part, flags);
}

}  // namespace platform::winsys

using namespace platform::winsys;

extern "C" {

BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags) {
  return redraw(hwnd, rect, region, flags);
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
  return redraw(hwnd, rect, nullptr, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL InvalidateRgn(HWND hwnd, HRGN region, BOOL erase) {
  if (region && !platform::gdi::region_of(region)) return FALSE;
  return redraw(hwnd, nullptr, region, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
  return redraw(hwnd, rect, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL ValidateRgn(HWND hwnd, HRGN region) {
  if (region && !platform::gdi::region_of(region)) return FALSE;
  return redraw(hwnd, nullptr, region, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase) {
  bool has;
  {
    LockedWindow w(hwnd);
    if (!w) return FALSE;
    has = !w->update.empty();
    if (rect) *rect = w->update.extents();
  }
  if (has && erase) update_now(hwnd, false, true);
  return has ? TRUE : FALSE;
}

int GetUpdateRgn(HWND hwnd, HRGN region, BOOL erase) {
  cairo_region_t* dst = platform::gdi::region_of(region);
  if (!dst) return ERROR;
  int result;
  bool has;
  {
    LockedWindow w(hwnd);
    if (!w) return ERROR;
    cairo_region_subtract(dst, dst);
    cairo_region_union(dst, w->update.raw());
    result = region_complexity(dst);
    has = !w->update.empty();
  }
  if (has && erase) update_now(hwnd, false, true);
  return result;
}

BOOL UpdateWindow(HWND hwnd) {
  if (!valid_window(hwnd)) return FALSE;
  update_now(hwnd, true, false);
  return TRUE;
}

}  // extern "C"
