// Window placement: SetWindowPos and everything built on it, coordinates and hit geometry.
#include <algorithm>

#include "platform/display/backend.h"
#include "platform/kernel/codepage.h"
#include "platform/winsys/dispatch.h"
#include "platform/winsys/window_internal.h"

namespace platform::winsys {
namespace {

bool is_special_after(HWND after) {
  return after == HWND_TOP || after == HWND_BOTTOM || after == HWND_TOPMOST || after == HWND_NOTOPMOST;
}

std::vector<HWND>::iterator after_topmost(std::vector<HWND>& list) {
  auto pos = list.begin();
  while (pos != list.end()) {
    auto s = find_locked(*pos);
    if (!s || !(s->ex_style & WS_EX_TOPMOST)) break;
    ++pos;
  }
  return pos;
}

void place_locked(Window& parent, Window& w, HWND after) {
  auto& list = parent.children;
  std::erase(list, w.handle);
  if (!is_desktop_locked(parent)) {
    if (after == HWND_BOTTOM) {
      list.push_back(w.handle);
    } else if (is_special_after(after)) {
      list.insert(list.begin(), w.handle);
    } else {
      auto it = std::find(list.begin(), list.end(), after);
      list.insert(it == list.end() ? list.begin() : it + 1, w.handle);
    }
    return;
  }
  if (after == HWND_TOPMOST) {
    w.ex_style |= WS_EX_TOPMOST;
    list.insert(list.begin(), w.handle);
  } else if (after == HWND_NOTOPMOST) {
    w.ex_style &= ~WS_EX_TOPMOST;
    list.insert(after_topmost(list), w.handle);
  } else if (after == HWND_TOP) {
    list.insert((w.ex_style & WS_EX_TOPMOST) ? list.begin() : after_topmost(list), w.handle);
  } else if (after == HWND_BOTTOM) {
    w.ex_style &= ~WS_EX_TOPMOST;
    list.push_back(w.handle);
  } else {
    auto it = std::find(list.begin(), list.end(), after);
    list.insert(it == list.end() ? after_topmost(list) : it + 1, w.handle);
  }
  // Owned windows stay above their owner.
  std::vector<HWND> owned;
  for (HWND h : list)
    if (auto o = find_locked(h); o && o->owner == w.handle) owned.push_back(h);
  for (HWND h : owned) {
    std::erase(list, h);
    auto me = std::find(list.begin(), list.end(), w.handle);
    list.insert(me, h);
  }
}

RECT area_in_top_locked(const Window& w) {
  POINT o = window_origin_in_top_locked(w);
  return {o.x, o.y, o.x + (w.window_rect.right - w.window_rect.left),
          o.y + (w.window_rect.bottom - w.window_rect.top)};
}

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

void notify_backend_after_move(HWND hwnd, bool top, bool shown, bool hidden, bool geometry, bool visible) {
  if (!top) return;
  RECT screen{};
  bool iconic = false;
  std::string title;
  {
    Lock lock(wm_mutex());
    auto w = find_locked(hwnd);
    if (!w) return;
    screen = screen_rect_locked(*w);
    iconic = (w->style & WS_MINIMIZE) != 0;
    title = w->text;
  }
  if (shown) {
    std::string utf8 = codepage::ansi_to_utf8(title);
    run_on_display([hwnd, utf8](display::Backend& b) { b.window_title(hwnd, utf8); });
  }
  if (shown || (geometry && visible))
    run_on_display([hwnd, screen](display::Backend& b) { b.window_moved(hwnd, screen); });
  if (shown && !iconic) run_on_display([hwnd](display::Backend& b) { b.window_shown(hwnd); });
  if (hidden || (shown && iconic)) run_on_display([hwnd](display::Backend& b) { b.window_hidden(hwnd); });
}

void move_focus_out_of(HWND hwnd) {
  HWND focus = GetFocus();
  if (!focus || (focus != hwnd && !IsChild(hwnd, focus))) return;
  HWND parent = nullptr;
  {
    Lock lock(wm_mutex());
    auto w = find_locked(hwnd);
    if (w && (w->style & WS_CHILD)) parent = w->parent;
  }
  SetFocus(parent);
}

}  // namespace

RECT client_size_rect(const Window& w) {
  return {0, 0, w.client_rect.right - w.client_rect.left, w.client_rect.bottom - w.client_rect.top};
}

POINT client_offset_in_window(const Window& w) {
  return {w.client_rect.left - w.window_rect.left, w.client_rect.top - w.window_rect.top};
}

void hide_for_destroy(HWND hwnd) {
  bool visible, child;
  {
    Lock lock(wm_mutex());
    auto w = find_locked(hwnd);
    visible = w && (w->style & WS_VISIBLE);
    child = w && (w->style & WS_CHILD);
  }
  if (visible && child) SendMessageA(hwnd, WM_SHOWWINDOW, FALSE, 0);
  if (visible)
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  else if (GetActiveWindow() == hwnd)
    activate_other_than(hwnd);
}

}  // namespace platform::winsys

using namespace platform::winsys;

extern "C" {

BOOL SetWindowPos(HWND hwnd, HWND after, int x, int y, int cx, int cy, UINT flags) {
  WINDOWPOS wp{hwnd, after, x, y, cx, cy, flags};
  RECT old_rect, old_client;
  bool was_visible, top, child;
  {
    Lock lock(wm_mutex());
    auto w = find_locked(hwnd);
    if (!w || is_desktop_locked(*w)) return FALSE;
    if (!(flags & SWP_NOZORDER) && !is_special_after(after) && (after == hwnd || !find_locked(after)))
      wp.flags |= SWP_NOZORDER;
    old_rect = w->window_rect;
    old_client = w->client_rect;
    was_visible = (w->style & WS_VISIBLE) != 0;
    top = is_top_level_locked(*w);
    child = (w->style & WS_CHILD) != 0;
    if (wp.flags & SWP_NOMOVE) {
      wp.x = old_rect.left;
      wp.y = old_rect.top;
    }
    if (wp.flags & SWP_NOSIZE) {
      wp.cx = old_rect.right - old_rect.left;
      wp.cy = old_rect.bottom - old_rect.top;
    }
    if ((wp.flags & SWP_SHOWWINDOW) && was_visible) wp.flags &= ~SWP_SHOWWINDOW;
    if ((wp.flags & SWP_HIDEWINDOW) && !was_visible) wp.flags &= ~SWP_HIDEWINDOW;
  }
  if (!(wp.flags & SWP_NOSENDCHANGING))
    SendMessageA(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
  if (!IsWindow(hwnd)) return FALSE;
  if (wp.flags & SWP_NOMOVE) {
    wp.x = old_rect.left;
    wp.y = old_rect.top;
  }
  if (wp.flags & SWP_NOSIZE) {
    wp.cx = old_rect.right - old_rect.left;
    wp.cy = old_rect.bottom - old_rect.top;
  }
  wp.cx = std::max(wp.cx, 0);
  wp.cy = std::max(wp.cy, 0);
  RECT new_rect{wp.x, wp.y, wp.x + wp.cx, wp.y + wp.cy};
  bool sized = wp.cx != old_rect.right - old_rect.left || wp.cy != old_rect.bottom - old_rect.top;
  bool moved = wp.x != old_rect.left || wp.y != old_rect.top;
  RECT new_client;
  if (sized || (wp.flags & SWP_FRAMECHANGED)) {
    NCCALCSIZE_PARAMS p{};
    p.rgrc[0] = new_rect;
    p.rgrc[1] = old_rect;
    p.rgrc[2] = old_client;
    p.lppos = &wp;
    SendMessageA(hwnd, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&p));
    new_client = p.rgrc[0];
  } else {
    new_client = rect_offset(old_client, wp.x - old_rect.left, wp.y - old_rect.top);
  }
  bool shown = (wp.flags & SWP_SHOWWINDOW) != 0;
  bool hidden = (wp.flags & SWP_HIDEWINDOW) != 0;
  bool visible_now;
  {
    Lock lock(wm_mutex());
    auto w = find_locked(hwnd);
    if (!w) return FALSE;
    auto parent = find_locked(w->parent);
    WindowPtr top_w = top_level_of_locked(w);
    bool redraw = !(wp.flags & SWP_NOREDRAW);
    if (redraw && !top && top_w && was_visible && really_visible_locked(*top_w))
      invalidate_top_area_locked(*top_w, area_in_top_locked(*w));
    w->window_rect = new_rect;
    w->client_rect = new_client;
    if (!(wp.flags & SWP_NOZORDER) && parent) place_locked(*parent, *w, wp.hwndInsertAfter);
    if (shown) w->style |= WS_VISIBLE;
    if (hidden) w->style &= ~WS_VISIBLE;
    visible_now = (w->style & WS_VISIBLE) != 0;
    if (new_client.right - new_client.left == old_client.right - old_client.left &&
        new_client.bottom - new_client.top == old_client.bottom - old_client.top)
      wp.flags |= SWP_NOCLIENTSIZE;
    if (new_client.left == old_client.left && new_client.top == old_client.top) wp.flags |= SWP_NOCLIENTMOVE;
    if (top && (sized || !w->surface)) ensure_surface_locked(*w);
    if (wp.flags & SWP_FRAMECHANGED) w->frame_pending = true;
    if (visible_now && top_w && really_visible_locked(*w)) {
      if (top) {
        if (sized || shown || (wp.flags & SWP_FRAMECHANGED) || !redraw)
          invalidate_locked(*w, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
      } else if (redraw || shown) {
        invalidate_top_area_locked(*top_w, area_in_top_locked(*w));
      }
    }
  }
  notify_backend_after_move(hwnd, top, shown, hidden, sized || moved, visible_now);
  if (!child && !(wp.flags & SWP_NOACTIVATE) && visible_now && (shown || !(wp.flags & SWP_NOZORDER)) &&
      window_thread_is_current(hwnd))
    activate_window(hwnd, WA_ACTIVE);
  SendMessageA(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
  // A hidden window gives up activation and focus once it is gone from the screen.
  if (hidden) {
    if (!child && GetActiveWindow() == hwnd) activate_other_than(hwnd);
    move_focus_out_of(hwnd);
  }
  return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(hwnd, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL ShowWindow(HWND hwnd, int cmd) {
  DWORD style;
  bool child;
  RECT normal;
  {
    Lock lock(wm_mutex());
    auto w = find_locked(hwnd);
    if (!w || is_desktop_locked(*w)) return FALSE;
    style = w->style;
    child = (style & WS_CHILD) != 0;
    normal = w->normal_rect;
  }
  bool was_visible = (style & WS_VISIBLE) != 0;
  UINT swp = SWP_NOSIZE | SWP_NOMOVE;
  enum class State { keep, minimize, maximize, restore } target = State::keep;
  bool show = true;
  switch (cmd) {
    case SW_HIDE:
      if (!was_visible) return FALSE;
      SendMessageA(hwnd, WM_SHOWWINDOW, FALSE, 0);
      SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER |
                       (GetActiveWindow() == hwnd ? 0 : SWP_NOACTIVATE));
      return TRUE;
    case SW_SHOWMINNOACTIVE:
    case SW_MINIMIZE:
    case SW_FORCEMINIMIZE:
      swp |= SWP_NOACTIVATE;
      [[fallthrough]];
    case SW_SHOWMINIMIZED:
      target = State::minimize;
      break;
    case SW_SHOWMAXIMIZED:
      target = State::maximize;
      break;
    case SW_SHOWNA:
      swp |= SWP_NOACTIVATE | SWP_NOZORDER;
      break;
    case SW_SHOWNOACTIVATE:
      swp |= SWP_NOACTIVATE | SWP_NOZORDER;
      if (style & (WS_MINIMIZE | WS_MAXIMIZE)) target = State::restore;
      break;
    case SW_SHOW:
      break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
    case SW_SHOWDEFAULT:
      if (style & (WS_MINIMIZE | WS_MAXIMIZE)) target = State::restore;
      break;
    default:
      return FALSE;
  }
  if (child) swp |= SWP_NOACTIVATE | SWP_NOZORDER;
  if (show && !was_visible) {
    SendMessageA(hwnd, WM_SHOWWINDOW, TRUE, 0);
    if (!IsWindow(hwnd)) return FALSE;
  }
  RECT rect{};
  if (target != State::keep) {
    Lock lock(wm_mutex());
    auto w = find_locked(hwnd);
    if (!w) return FALSE;
    bool normal_now = !(w->style & (WS_MINIMIZE | WS_MAXIMIZE));
    if (normal_now) w->normal_rect = w->window_rect;
    normal = w->normal_rect;
    w->style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
    if (target == State::minimize) {
      w->style |= WS_MINIMIZE;
      int h = GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYFRAME);
      rect = child ? RECT{0, 0, GetSystemMetrics(SM_CXMINIMIZED), h}
                   : RECT{-32000, -32000, -32000 + GetSystemMetrics(SM_CXMINIMIZED), -32000 + h};
    } else if (target == State::maximize) {
      w->style |= WS_MAXIMIZE;
      if (child) {
        auto p = find_locked(w->parent);
        FrameLayout f = frame_layout(hwnd, w->style, w->ex_style, false, 100, 100);
        RECT pc = p ? client_size_rect(*p) : RECT{0, 0, 0, 0};
        rect = {pc.left - f.border, pc.top - f.border, pc.right + f.border, pc.bottom + f.border};
      }
    } else {
      rect = normal;
    }
  }
  if (target == State::maximize && !child) {
    MINMAXINFO mmi = minmax_info(hwnd);
    rect = {mmi.ptMaxPosition.x, mmi.ptMaxPosition.y, mmi.ptMaxPosition.x + mmi.ptMaxSize.x,
            mmi.ptMaxPosition.y + mmi.ptMaxSize.y};
  }
  if (target != State::keep) {
    swp &= ~(SWP_NOSIZE | SWP_NOMOVE);
    swp |= SWP_FRAMECHANGED | SWP_STATECHANGED;
  }
  SetWindowPos(hwnd, HWND_TOP, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               swp | SWP_SHOWWINDOW);
  return was_visible ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND hwnd) {
  Lock lock(wm_mutex());
  auto w = find_locked(hwnd);
  return w && really_visible_locked(*w) ? TRUE : FALSE;
}

BOOL IsIconic(HWND hwnd) {
  Lock lock(wm_mutex());
  auto w = find_locked(hwnd);
  return w && (w->style & WS_MINIMIZE) ? TRUE : FALSE;
}

BOOL IsZoomed(HWND hwnd) {
  Lock lock(wm_mutex());
  auto w = find_locked(hwnd);
  return w && (w->style & WS_MAXIMIZE) ? TRUE : FALSE;
}

BOOL BringWindowToTop(HWND hwnd) {
  return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
  if (!rect) return FALSE;
  Lock lock(wm_mutex());
  auto w = find_locked(hwnd);
  if (!w) return FALSE;
  *rect = screen_rect_locked(*w);
  return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
  if (!rect) return FALSE;
  Lock lock(wm_mutex());
  auto w = find_locked(hwnd);
  if (!w) return FALSE;
  *rect = client_size_rect(*w);
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT point) {
  if (!point) return FALSE;
  Lock lock(wm_mutex());
  auto w = find_locked(hwnd);
  if (!w) return FALSE;
  POINT o = client_screen_origin_locked(*w);
  point->x += o.x;
  point->y += o.y;
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, LPPOINT point) {
  if (!point) return FALSE;
  Lock lock(wm_mutex());
  auto w = find_locked(hwnd);
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
    auto w = find_locked(from);
    if (!w) return 0;
    a = client_screen_origin_locked(*w);
  }
  if (to) {
    auto w = find_locked(to);
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
  auto p = find_locked(parent);
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
    Lock lock(wm_mutex());
    auto w = find_locked(hwnd);
    if (!w || is_desktop_locked(*w)) return 0;
    old = w->window_region;
    w->window_region = region;
    if (redraw && really_visible_locked(*w))
      if (auto top = top_level_of_locked(w)) invalidate_top_area_locked(*top, area_in_top_locked(*w));
  }
  if (old && old != region) DeleteObject(old);
  return 1;
}

int GetWindowRgn(HWND hwnd, HRGN region) {
  HRGN own;
  {
    Lock lock(wm_mutex());
    auto w = find_locked(hwnd);
    if (!w || !w->window_region) return 0;
    own = w->window_region;
  }
  return CombineRgn(region, own, nullptr, RGN_COPY);
}

}  // extern "C"
