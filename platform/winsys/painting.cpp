// Update regions, WM_PAINT generation, device contexts on the top-level surfaces.
#include <algorithm>
#include <unordered_map>

#include "platform/display/backend.h"
#include "platform/gdi/region_access.h"
#include "platform/gdi/surface_dc.h"
#include "platform/winsys/dispatch.h"
#include "platform/winsys/surface_access.h"
#include "platform/winsys/window_internal.h"

namespace platform::winsys {
namespace {

struct DcRecord {
  HWND hwnd = nullptr;
  HWND top = nullptr;
  RECT dirty{};  // surface coordinates
};

std::unordered_map<HDC, DcRecord>& dc_records_locked() {
  static std::unordered_map<HDC, DcRecord> records;
  return records;
}

// Drawing with no window (the screen DC, or a window without pixels yet) lands here.
cairo_surface_t* scratch_surface() {
  static cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
  return s;
}

bool needs_paint(const Window& w) {
  return !w.update.empty() || w.internal_paint || w.frame_pending;
}

bool has_frame(const Window& w) {
  return w.client_rect.left != w.window_rect.left || w.client_rect.top != w.window_rect.top ||
         w.client_rect.right != w.window_rect.right || w.client_rect.bottom != w.window_rect.bottom;
}

HWND find_paint_in(const Window& w, DWORD tid, HWND filter, bool inside_filter) {
  if (!(w.style & WS_VISIBLE)) return nullptr;
  bool inside = inside_filter || !filter || w.handle == filter;
  if (inside && w.thread_id == tid && needs_paint(w)) return w.handle;
  for (HWND h : w.children)
    if (auto c = find_locked(h))
      if (HWND found = find_paint_in(*c, tid, filter, inside)) return found;
  return nullptr;
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

void intersect_window_region(Region& r, const Window& w) {
  if (!w.window_region) return;
  Region wr = Region::from_hrgn(w.window_region);
  POINT o = window_origin_in_top_locked(w);
  wr.offset(o.x, o.y);
  r.intersect(wr);
}

// A DC on the window's top-level surface; `origin` and `clip` in surface coordinates.
HDC make_dc_locked(const Window& w, POINT origin, const Region& clip, RECT* dirty, HWND* top_out) {
  auto top = top_level_of_locked(find_locked(w.handle));
  HRGN rgn = clip.to_hrgn();
  HDC dc;
  if (top && top->surface) {
    std::lock_guard guard(top->surface->mutex);
    dc = platform::gdi::create_surface_dc(top->surface->pixels, origin, rgn, w.handle);
    *top_out = top->handle;
  } else {
    HRGN empty = CreateRectRgn(0, 0, 0, 0);
    dc = platform::gdi::create_surface_dc(scratch_surface(), {0, 0}, empty, w.handle);
    DeleteObject(empty);
    *top_out = nullptr;
  }
  if (rgn) DeleteObject(rgn);
  *dirty = clip.extents();
  return dc;
}

void remember_dc_locked(HDC dc, HWND hwnd, HWND top, RECT dirty) {
  if (dc) dc_records_locked()[dc] = DcRecord{hwnd, top, dirty};
}

// Sends the paint messages of `hwnd` (and its children, when asked) now.
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
    auto w = hwnd ? find_locked(hwnd) : state_locked().desktop;
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

HWND find_paint_window_locked(DWORD thread_id, HWND filter) {
  State& s = state_locked();
  for (HWND h : s.desktop->children)
    if (auto w = find_locked(h))
      if (HWND found = find_paint_in(*w, thread_id, filter, false)) return found;
  return nullptr;
}

void ensure_surface_locked(Window& top) {
  int width = std::max(1, static_cast<int>(top.window_rect.right - top.window_rect.left));
  int height = std::max(1, static_cast<int>(top.window_rect.bottom - top.window_rect.top));
  if (!top.surface) top.surface = std::make_shared<Surface>();
  std::lock_guard guard(top.surface->mutex);
  cairo_surface_t* old = top.surface->pixels;
  if (old && cairo_image_surface_get_width(old) == width && cairo_image_surface_get_height(old) == height)
    return;
  cairo_surface_t* fresh = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  if (old) {
    // Keeps what was drawn until the window repaints, so a resize does not flash.
    cairo_t* cr = cairo_create(fresh);
    cairo_set_source_surface(cr, old, 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(old);
  }
  top.surface->pixels = fresh;
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

Region visible_region_locked(const Window& w, bool whole_window) {
  if (!really_visible_locked(w) || is_desktop_locked(w)) return Region();
  Region r(whole_window ? window_area_in_top(w) : client_area_in_top(w));
  intersect_window_region(r, w);
  auto cur = find_locked(w.handle);
  while (cur && !is_top_level_locked(*cur)) {
    auto p = find_locked(cur->parent);
    if (!p) break;
    r.intersect(client_area_in_top(*p));
    intersect_window_region(r, *p);
    if (cur->style & WS_CLIPSIBLINGS) {
      for (HWND h : p->children) {
        if (h == cur->handle) break;
        auto s = find_locked(h);
        if (s && (s->style & WS_VISIBLE)) r.subtract(window_area_in_top(*s));
      }
    }
    cur = p;
  }
  if (w.style & WS_CLIPCHILDREN)
    for (HWND h : w.children)
      if (auto c = find_locked(h); c && (c->style & WS_VISIBLE)) r.subtract(window_area_in_top(*c));
  return r;
}

void present(HWND top, const RECT& dirty) {
  if (!top || rect_empty(dirty)) return;
  run_on_display([top, dirty](display::Backend& b) { b.invalidate(top, dirty); });
}

bool with_surface(HWND top, const std::function<void(cairo_surface_t* surface)>& use) {
  std::shared_ptr<Surface> s;
  {
    Lock lock(wm_mutex());
    auto w = find_locked(top);
    if (!w || !is_top_level_locked(*w) || !w->surface) return false;
    s = w->surface;
  }
  std::lock_guard guard(s->mutex);
  if (!s->pixels) return false;
  cairo_surface_flush(s->pixels);
  use(s->pixels);
  return true;
}

}  // namespace platform::winsys

using namespace platform::winsys;

extern "C" {

HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags) {
  Lock lock(wm_mutex());
  auto w = hwnd ? find_locked(hwnd) : state_locked().desktop;
  if (!w) return nullptr;
  if (is_desktop_locked(*w)) {
    lock.unlock();
    HRGN none = nullptr;
    return platform::gdi::create_surface_dc(scratch_surface(), {0, 0}, none, nullptr);
  }
  bool whole = (flags & DCX_WINDOW) != 0;
  Region vis = visible_region_locked(*w, whole);
  if (clip && (flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN))) {
    Region extra = Region::from_hrgn(clip);
    RECT base = whole ? window_area_in_top(*w) : client_area_in_top(*w);
    extra.offset(base.left, base.top);
    if (flags & DCX_INTERSECTRGN)
      vis.intersect(extra);
    else
      vis.subtract(extra);
  }
  RECT area = whole ? window_area_in_top(*w) : client_area_in_top(*w);
  RECT dirty;
  HWND top;
  HDC dc = make_dc_locked(*w, {area.left, area.top}, vis, &dirty, &top);
  remember_dc_locked(dc, hwnd, top, dirty);
  return dc;
}

HDC GetDC(HWND hwnd) {
  return GetDCEx(hwnd, nullptr, 0);
}

HDC GetWindowDC(HWND hwnd) {
  return GetDCEx(hwnd, nullptr, DCX_WINDOW);
}

int ReleaseDC(HWND, HDC dc) {
  if (!dc) return 0;
  DcRecord rec;
  bool known = false;
  {
    Lock lock(wm_mutex());
    auto& records = dc_records_locked();
    auto it = records.find(dc);
    if (it != records.end()) {
      rec = it->second;
      records.erase(it);
      known = true;
    }
  }
  DeleteDC(dc);
  if (known) present(rec.top, rec.dirty);
  return 1;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
  if (!ps) return nullptr;
  bool frame;
  {
    Lock lock(wm_mutex());
    auto w = find_locked(hwnd);
    if (!w || is_desktop_locked(*w)) return nullptr;
    frame = w->frame_pending && really_visible_locked(*w);
    w->frame_pending = false;
  }
  // TODO(integration): hide the caret while painting once the caret functions exist.
  if (frame) SendMessageA(hwnd, WM_NCPAINT, 1, 0);
  bool erase;
  HDC dc;
  RECT paint;
  {
    Lock lock(wm_mutex());
    auto w = find_locked(hwnd);
    if (!w) return nullptr;
    Region upd = std::move(w->update);
    w->update.clear();
    erase = w->erase_pending;
    w->erase_pending = false;
    w->internal_paint = false;
    upd.intersect(client_size_rect(*w));
    paint = upd.extents();
    RECT area = client_area_in_top(*w);
    Region clip = visible_region_locked(*w, false);
    upd.offset(area.left, area.top);
    clip.intersect(upd);
    RECT dirty;
    HWND top;
    dc = make_dc_locked(*w, {area.left, area.top}, clip, &dirty, &top);
    remember_dc_locked(dc, hwnd, top, dirty);
  }
  *ps = PAINTSTRUCT{};
  ps->hdc = dc;
  ps->rcPaint = paint;
  ps->fErase = erase ? TRUE : FALSE;
  if (erase && dc)
    ps->fErase = SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
  return dc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
  if (!ps) return FALSE;
  ReleaseDC(hwnd, ps->hdc);
  return TRUE;
}

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
    Lock lock(wm_mutex());
    auto w = find_locked(hwnd);
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
    Lock lock(wm_mutex());
    auto w = find_locked(hwnd);
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
  if (!IsWindow(hwnd)) return FALSE;
  update_now(hwnd, true, false);
  return TRUE;
}

int ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update,
                   LPRECT update_rect, UINT flags) {
  std::vector<HWND> move_children;
  Region uncovered;
  HWND top_handle = nullptr;
  RECT dirty{};
  {
    Lock lock(wm_mutex());
    auto w = find_locked(hwnd);
    if (!w || is_desktop_locked(*w)) return ERROR;
    RECT client = client_size_rect(*w);
    RECT src = scroll ? rect_intersection(*scroll, client) : client;
    RECT bounds = clip ? rect_intersection(*clip, client) : client;
    RECT area = client_area_in_top(*w);
    auto top = top_level_of_locked(w);
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

}  // extern "C"
