// Device contexts on the top-level surfaces: visible regions, GetDC, BeginPaint, and the
// surfaces themselves.
#include <algorithm>
#include <unordered_map>

#include "platform/display/backend.h"
#include "platform/gdi/device_scale.h"
#include "platform/gdi/region_access.h"
#include "platform/gdi/screen_info.h"
#include "platform/gdi/surface_dc.h"
#include "platform/winsys/caret.h"
#include "platform/winsys/dispatch.h"
#include "platform/winsys/surface_access.h"
#include "platform/winsys/window_internal.h"
#include "platform/winsys/window_lookup.h"

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
}  // namespace

void ensure_surface_locked(Window& top) {
  int width = std::max(1, static_cast<int>(top.window_rect.right - top.window_rect.left));
  int height = std::max(1, static_cast<int>(top.window_rect.bottom - top.window_rect.top));
  if (!top.surface) top.surface = std::make_shared<Surface>();
  std::lock_guard guard(top.surface->mutex);
  cairo_surface_t* old = top.surface->pixels;
  // The backing store holds the window at the desktop's scale, in device pixels.
  const int q = platform::gdi::screen_scale();
  if (old && platform::gdi::surface_scale(old) == q &&
      cairo_image_surface_get_width(old) == platform::gdi::to_device(width, q) &&
      cairo_image_surface_get_height(old) == platform::gdi::to_device(height, q))
    return;
  cairo_surface_t* fresh = platform::gdi::create_scaled_surface(width, height, q);
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
  auto w = hwnd ? checked_locked(hwnd) : state_locked().desktop;
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
    LockedWindow w(hwnd);
    if (!w || is_desktop_locked(*w)) return nullptr;
    frame = w->frame_pending && really_visible_locked(*w);
    w->frame_pending = false;
  }
  caret_hide_for_paint(hwnd);
  if (frame) SendMessageA(hwnd, WM_NCPAINT, 1, 0);
  bool erase;
  HDC dc;
  RECT paint;
  {
    LockedWindow w(hwnd);
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
  caret_show_after_paint(hwnd);
  return TRUE;
}

}  // extern "C"
