// SetWindowPos: placement, z-order and visibility changes with their messages, and what they
// mean for painting, the backend, activation and focus.
#include <algorithm>

#include "platform/display/backend.h"
#include "platform/kernel/codepage.h"
#include "platform/winsys/dispatch.h"
#include "platform/winsys/window_internal.h"
#include "platform/winsys/window_lookup.h"

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
    LockedWindow w(hwnd);
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
    LockedWindow w(hwnd);
    if (!w) return FALSE;
    auto parent = find_locked(w->parent);
    WindowPtr top_w = top_level_of_locked(w.ptr());
    bool redraw = !(wp.flags & SWP_NOREDRAW);
    if (redraw && !top && top_w && was_visible && really_visible_locked(*top_w))
      invalidate_top_area_locked(*top_w, window_area_in_top(*w));
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
        invalidate_top_area_locked(*top_w, window_area_in_top(*w));
      }
    }
  }
  // A changed frame (new styles) is news to the backend too: native decorations follow styles.
  notify_backend_after_move(hwnd, top, shown, hidden, sized || moved || (wp.flags & SWP_FRAMECHANGED) != 0,
                            visible_now);
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
BOOL BringWindowToTop(HWND hwnd) {
  return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}
}  // extern "C"
