// Window geometry: rectangles, coordinate mapping, frames, hit geometry and window regions.
#include <algorithm>

#include "platform/display/backend.h"
#include "platform/kernel/codepage.h"
#include "platform/winsys/dispatch.h"
#include "platform/winsys/window_internal.h"
#include "platform/winsys/window_lookup.h"

namespace platform::winsys {
namespace {

HWND child_from_point_locked(const Window& w, POINT screen) {
  POINT co = client_screen_origin_locked(w);
  RECT client{co.x, co.y, co.x + (w.client_rect.right - w.client_rect.left),
              co.y + (w.client_rect.bottom - w.client_rect.top)};
  if (!rect_contains(client, screen)) return w.handle;
  for (HWND h : w.children) {
    auto c = find_locked(h);
    if (!c || !(c->style & WS_VISIBLE) || !in_window_region_locked(*c, screen)) continue;
    if (c->style & WS_DISABLED) return w.handle;  // a disabled child: the point belongs to the parent
    return child_from_point_locked(*c, screen);
  }
  return w.handle;
}
}  // namespace

RECT screen_rect_locked(const Window& w) {
  POINT o = window_screen_origin_locked(w);
  return {o.x, o.y, o.x + (w.window_rect.right - w.window_rect.left),
          o.y + (w.window_rect.bottom - w.window_rect.top)};
}

bool in_window_region_locked(const Window& w, POINT screen) {
  RECT r = screen_rect_locked(w);
  if (!rect_contains(r, screen)) return false;
  if (!w.window_region) return true;
  Region rgn = Region::from_hrgn(w.window_region);
  return rgn.contains({screen.x - r.left, screen.y - r.top});
}
RECT client_size_rect(const Window& w) {
  return {0, 0, w.client_rect.right - w.client_rect.left, w.client_rect.bottom - w.client_rect.top};
}

POINT client_offset_in_window(const Window& w) {
  return {w.client_rect.left - w.window_rect.left, w.client_rect.top - w.window_rect.top};
}
}  // namespace platform::winsys

using namespace platform::winsys;

extern "C" {

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
  if (!rect) return FALSE;
  LockedWindow w(hwnd);
  if (!w) return FALSE;
  *rect = screen_rect_locked(*w);
  return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
  if (!rect) return FALSE;
  LockedWindow w(hwnd);
  if (!w) return FALSE;
  *rect = client_size_rect(*w);
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT point) {
  if (!point) return FALSE;
  LockedWindow w(hwnd);
  if (!w) return FALSE;
  POINT o = client_screen_origin_locked(*w);
  point->x += o.x;
  point->y += o.y;
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, LPPOINT point) {
  if (!point) return FALSE;
  LockedWindow w(hwnd);
  if (!w) return FALSE;
  POINT o = client_screen_origin_locked(*w);
  point->x -= o.x;
  point->y -= o.y;
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
  Lock lock(wm_mutex());
  POINT a{0, 0}, b{0, 0};
  if (from) {
    auto w = checked_locked(from);
    if (!w) return 0;
    a = client_screen_origin_locked(*w);
  }
  if (to) {
    auto w = checked_locked(to);
    if (!w) return 0;
    b = client_screen_origin_locked(*w);
  }
  int dx = a.x - b.x, dy = a.y - b.y;
  for (UINT i = 0; points && i < count; ++i) {
    points[i].x += dx;
    points[i].y += dy;
  }
  return static_cast<int>(MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy)));
}

BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD ex_style) {
  if (!rect) return FALSE;
  constexpr int kProbe = 1000;
  FrameLayout f = frame_layout(nullptr, style, ex_style, menu != FALSE, kProbe, kProbe);
  rect->left -= f.client.left;
  rect->top -= f.client.top;
  rect->right += kProbe - f.client.right;
  rect->bottom += kProbe - f.client.bottom;
  return TRUE;
}

BOOL AdjustWindowRect(LPRECT rect, DWORD style, BOOL menu) {
  return AdjustWindowRectEx(rect, style, menu, 0);
}

HWND WindowFromPoint(POINT point) {
  Lock lock(wm_mutex());
  for (HWND h : state_locked().desktop->children) {
    auto w = find_locked(h);
    if (!w || !(w->style & WS_VISIBLE) || (w->style & WS_MINIMIZE) || !in_window_region_locked(*w, point))
      continue;
    return child_from_point_locked(*w, point);
  }
  return nullptr;
}

HWND ChildWindowFromPointEx(HWND parent, POINT point, UINT flags) {
  Lock lock(wm_mutex());
  auto p = checked_locked(parent);
  if (!p) return nullptr;
  if (!rect_contains(client_size_rect(*p), point)) return nullptr;
  POINT origin = client_screen_origin_locked(*p);
  POINT screen{point.x + origin.x, point.y + origin.y};
  for (HWND h : p->children) {
    auto c = find_locked(h);
    if (!c) continue;
    if ((flags & CWP_SKIPINVISIBLE) && !(c->style & WS_VISIBLE)) continue;
    if ((flags & CWP_SKIPDISABLED) && (c->style & WS_DISABLED)) continue;
    if ((flags & CWP_SKIPTRANSPARENT) && (c->ex_style & WS_EX_TRANSPARENT)) continue;
    if (in_window_region_locked(*c, screen)) return h;
  }
  return parent;
}

HWND ChildWindowFromPoint(HWND parent, POINT point) {
  return ChildWindowFromPointEx(parent, point, CWP_ALL);
}

int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw) {
  HRGN old = nullptr;
  {
    LockedWindow w(hwnd);
    if (!w || is_desktop_locked(*w)) return 0;
    old = w->window_region;
    w->window_region = region;
    if (redraw && really_visible_locked(*w))
      if (auto top = top_level_of_locked(w.ptr())) invalidate_top_area_locked(*top, window_area_in_top(*w));
  }
  if (old && old != region) DeleteObject(old);
  return 1;
}

int GetWindowRgn(HWND hwnd, HRGN region) {
  HRGN own;
  {
    LockedWindow w(hwnd);
    if (!w || !w->window_region) return 0;
    own = w->window_region;
  }
  return CombineRgn(region, own, nullptr, RGN_COPY);
}

}  // extern "C"
