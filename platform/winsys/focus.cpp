// Activation, keyboard focus, mouse capture and enabling. Focus and the active window belong to
// a thread's queue; the foreground window and the capture are global.
#include <algorithm>

#include "platform/display/backend.h"
#include "platform/winsys/dispatch.h"
#include "platform/winsys/hooks.h"
#include "platform/winsys/window_access.h"
#include "platform/winsys/window_internal.h"
#include "platform/winsys/window_lookup.h"

namespace platform::winsys {
namespace {

std::vector<HWND> thread_top_levels(DWORD tid) {
  Lock lock(wm_mutex());
  std::vector<HWND> out;
  for (HWND h : state_locked().desktop->children)
    if (auto w = find_locked(h); w && w->thread_id == tid) out.push_back(h);
  return out;
}

void send_activate_app(bool active, DWORD other_thread) {
  for (HWND h : thread_top_levels(this_thread_id()))
    SendMessageA(h, WM_ACTIVATEAPP, active ? TRUE : FALSE, static_cast<LPARAM>(other_thread));
}

void set_focus_window(HWND hwnd) {
  HWND old;
  {
    Lock lock(wm_mutex());
    QueuePtr q = current_queue_locked();
    old = q->focus;
    if (old == hwnd) return;
    q->focus = hwnd;
  }
  if (old && IsWindow(old)) SendMessageA(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
  if (hwnd && GetFocus() == hwnd) SendMessageA(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
}

}  // namespace

bool window_thread_is_current(HWND hwnd) {
  Lock lock(wm_mutex());
  auto w = find_locked(hwnd);
  return w && w->thread_id == this_thread_id();
}

void activate_window(HWND hwnd, WORD how) {
  HWND old;
  {
    Lock lock(wm_mutex());
    QueuePtr q = current_queue_locked();
    old = q->active;
    if (old == hwnd) return;
    if (hwnd) {
      auto w = find_locked(hwnd);
      if (!w || !is_top_level_locked(*w) || w->thread_id != q->thread_id) return;
    }
  }
  if (hwnd && call_hooks(WH_CBT, HCBT_ACTIVATE, reinterpret_cast<WPARAM>(hwnd), 0)) return;
  if (old && IsWindow(old)) {
    SendMessageA(old, WM_NCACTIVATE, FALSE, 0);
    SendMessageA(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(old) ? 1 : 0),
                 reinterpret_cast<LPARAM>(hwnd));
  }
  bool first;
  {
    Lock lock(wm_mutex());
    QueuePtr q = current_queue_locked();
    q->active = hwnd;
    State& s = state_locked();
    first = s.foreground == nullptr || !find_locked(s.foreground) ||
            find_locked(s.foreground)->thread_id != q->thread_id;
    if (hwnd) {
      s.foreground = hwnd;
      if (auto w = find_locked(hwnd)) {
        w->was_activated = true;
        auto& list = s.desktop->children;
        // The activated window comes to the top of its group.
        if (!list.empty() && list.front() != hwnd) {
          std::erase(list, hwnd);
          auto pos = list.begin();
          if (!(w->ex_style & WS_EX_TOPMOST))
            while (pos != list.end()) {
              auto o = find_locked(*pos);
              if (!o || !(o->ex_style & WS_EX_TOPMOST)) break;
              ++pos;
            }
          list.insert(pos, hwnd);
        }
      }
    } else if (s.foreground == old) {
      s.foreground = nullptr;
    }
  }
  if (!hwnd) {
    if (old) send_activate_app(false, 0);
    set_focus_window(nullptr);
    return;
  }
  if (first && !old) send_activate_app(true, 0);
  SendMessageA(hwnd, WM_NCACTIVATE, TRUE, 0);
  SendMessageA(hwnd, WM_ACTIVATE, MAKEWPARAM(how, IsIconic(hwnd) ? 1 : 0), reinterpret_cast<LPARAM>(old));
  run_on_display([hwnd](display::Backend& b) { b.window_activated(hwnd); });
  // The focus follows the activation unless the window placed it inside itself.
  if (GetActiveWindow() == hwnd) {
    HWND focus = GetFocus();
    if (!IsIconic(hwnd) && (!focus || (focus != hwnd && !IsChild(hwnd, focus)))) set_focus_window(hwnd);
    if (IsIconic(hwnd)) set_focus_window(nullptr);
  }
}

void activate_other_than(HWND leaving) {
  HWND next = nullptr;
  {
    Lock lock(wm_mutex());
    auto w = find_locked(leaving);
    DWORD tid = this_thread_id();
    // The owner first, then the topmost visible, enabled window of this thread.
    if (w && w->owner) {
      auto o = find_locked(w->owner);
      if (o && o->thread_id == tid && (o->style & WS_VISIBLE) && !(o->style & WS_DISABLED)) next = o->handle;
    }
    if (!next)
      for (HWND h : state_locked().desktop->children) {
        auto c = find_locked(h);
        if (!c || h == leaving || c->thread_id != tid || !(c->style & WS_VISIBLE) ||
            (c->style & WS_DISABLED) || c->destroying || (c->ex_style & WS_EX_NOACTIVATE))
          continue;
        next = h;
        break;
      }
  }
  activate_window(next, WA_ACTIVE);
}

void release_capture_of(HWND hwnd) {
  HWND cap = GetCapture();
  if (cap && (cap == hwnd || IsChild(hwnd, cap))) ReleaseCapture();
}

void focus_leaves(HWND hwnd) {
  HWND focus = GetFocus();
  if (!focus || (focus != hwnd && !IsChild(hwnd, focus))) return;
  HWND parent = nullptr;
  {
    Lock lock(wm_mutex());
    auto w = find_locked(hwnd);
    if (w && (w->style & WS_CHILD)) parent = w->parent;
  }
  set_focus_window(parent && IsWindow(parent) ? parent : nullptr);
}

bool activate_by_click(HWND top) {
  {
    Lock lock(wm_mutex());
    auto w = find_locked(top);
    if (!w || !is_top_level_locked(*w) || w->thread_id != this_thread_id()) return false;
  }
  activate_window(top, WA_CLICKACTIVE);
  return true;
}

}  // namespace platform::winsys

using namespace platform::winsys;

extern "C" {

HWND GetForegroundWindow() {
  Lock lock(wm_mutex());
  HWND f = state_locked().foreground;
  return find_locked(f) ? f : nullptr;
}

BOOL SetForegroundWindow(HWND hwnd) {
  if (!valid_window(hwnd)) return FALSE;
  HWND top = GetAncestor(hwnd, GA_ROOT);
  if (!window_thread_is_current(top)) {
    // Another thread's window: it becomes the foreground; that thread activates it itself.
    Lock lock(wm_mutex());
    state_locked().foreground = top;
    return TRUE;
  }
  activate_window(top, WA_ACTIVE);
  return TRUE;
}

HWND GetActiveWindow() {
  Lock lock(wm_mutex());
  QueuePtr q = queue_of_locked(this_thread_id());
  return q && find_locked(q->active) ? q->active : nullptr;
}

HWND SetActiveWindow(HWND hwnd) {
  HWND old = GetActiveWindow();
  if (hwnd) {
    LockedWindow w(hwnd);
    if (!w || !is_top_level_locked(*w) || w->thread_id != this_thread_id()) return nullptr;
  }
  activate_window(hwnd, WA_ACTIVE);
  return old;
}

HWND GetFocus() {
  Lock lock(wm_mutex());
  QueuePtr q = queue_of_locked(this_thread_id());
  return q && find_locked(q->focus) ? q->focus : nullptr;
}

HWND SetFocus(HWND hwnd) {
  HWND old = GetFocus();
  if (!hwnd) {
    set_focus_window(nullptr);
    return old;
  }
  HWND top;
  {
    LockedWindow w(hwnd);
    if (!w || is_desktop_locked(*w) || w->thread_id != this_thread_id()) return nullptr;
    // A window inside a disabled or minimised ancestor cannot take the focus.
    for (auto a = w.ptr(); a && !is_desktop_locked(*a); a = find_locked(a->parent))
      if ((a->style & WS_DISABLED) || (a->style & WS_MINIMIZE)) return nullptr;
    auto t = top_level_of_locked(w.ptr());
    top = t ? t->handle : nullptr;
  }
  if (call_hooks(WH_CBT, HCBT_SETFOCUS, reinterpret_cast<WPARAM>(hwnd), reinterpret_cast<LPARAM>(old)))
    return nullptr;
  if (top && GetActiveWindow() != top) activate_window(top, WA_ACTIVE);
  if (!IsWindow(hwnd)) return nullptr;
  set_focus_window(hwnd);
  return old;
}

HWND GetCapture() {
  Lock lock(wm_mutex());
  HWND c = state_locked().capture;
  auto w = find_locked(c);
  return w && w->thread_id == this_thread_id() ? c : nullptr;
}

HWND SetCapture(HWND hwnd) {
  HWND old;
  {
    LockedWindow w(hwnd);
    if (!w || is_desktop_locked(*w) || w->thread_id != this_thread_id()) return nullptr;
    old = state_locked().capture;
    state_locked().capture = hwnd;
  }
  if (old && old != hwnd && IsWindow(old))
    SendMessageA(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  if (!old) run_on_display([](platform::display::Backend& b) { b.set_capture(true); });
  return old && window_thread_is_current(old) ? old : nullptr;
}

BOOL ReleaseCapture() {
  HWND old;
  {
    Lock lock(wm_mutex());
    old = state_locked().capture;
    if (!old) return TRUE;
    state_locked().capture = nullptr;
  }
  if (IsWindow(old)) SendMessageA(old, WM_CAPTURECHANGED, 0, 0);
  run_on_display([](platform::display::Backend& b) { b.set_capture(false); });
  return TRUE;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  bool was_disabled;
  {
    LockedWindow w(hwnd);
    if (!w || is_desktop_locked(*w)) return FALSE;
    was_disabled = (w->style & WS_DISABLED) != 0;
    if (enable && was_disabled) w->style &= ~WS_DISABLED;
    if (!enable && !was_disabled) w->style |= WS_DISABLED;
  }
  if (enable && was_disabled) {
    SendMessageA(hwnd, WM_ENABLE, TRUE, 0);
  } else if (!enable && !was_disabled) {
    if (window_thread_is_current(hwnd)) {
      HWND focus = GetFocus();
      if (focus == hwnd || (focus && IsChild(hwnd, focus))) SetFocus(nullptr);
      release_capture_of(hwnd);
    }
    SendMessageA(hwnd, WM_ENABLE, FALSE, 0);
  }
  return was_disabled ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND hwnd) {
  LockedWindow w(hwnd);
  return w && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL LockWindowUpdate(HWND) {
  return TRUE;
}

}  // extern "C"
