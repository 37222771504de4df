// Relations between windows: parents, owners, z-order, enumeration and lookup.
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "platform/winsys/window_access.h"
#include "platform/winsys/window_internal.h"
#include "platform/winsys/window_lookup.h"

namespace platform::winsys {
namespace {

HWND sibling_locked(const Window& w, int step_or_end) {
  auto p = find_locked(w.parent);
  if (!p) return nullptr;
  const auto& list = p->children;
  auto it = std::find(list.begin(), list.end(), w.handle);
  if (it == list.end()) return nullptr;
  switch (step_or_end) {
    case GW_HWNDFIRST:
      return list.front();
    case GW_HWNDLAST:
      return list.back();
    case GW_HWNDNEXT:
      return (it + 1) == list.end() ? nullptr : *(it + 1);
    case GW_HWNDPREV:
      return it == list.begin() ? nullptr : *(it - 1);
  }
  return nullptr;
}

// Snapshot of the children so that callbacks may change the tree.
std::vector<HWND> children_of(HWND parent) {
  Lock lock(wm_mutex());
  auto p = find_locked(parent);
  return p ? p->children : std::vector<HWND>{};
}

bool enum_children(HWND parent, WNDENUMPROC proc, LPARAM param) {
  for (HWND c : children_of(parent)) {
    if (!IsWindow(c)) continue;
    if (!proc(c, param)) return false;
    if (!enum_children(c, proc, param)) return false;
  }
  return true;
}

}  // namespace

bool is_top_level(HWND hwnd) {
  Lock lock(wm_mutex());
  auto w = find_locked(hwnd);
  return w && is_top_level_locked(*w);
}

HWND top_level_of(HWND hwnd) {
  Lock lock(wm_mutex());
  auto t = top_level_of_locked(find_locked(hwnd));
  return t ? t->handle : nullptr;
}

HWND capture_window() {
  Lock lock(wm_mutex());
  return state_locked().capture;
}

HWND focus_of_thread(DWORD thread_id) {
  Lock lock(wm_mutex());
  auto q = queue_of_locked(thread_id);
  return q ? q->focus : nullptr;
}

HWND active_of_thread(DWORD thread_id) {
  Lock lock(wm_mutex());
  auto q = queue_of_locked(thread_id);
  return q ? q->active : nullptr;
}

DWORD window_thread(HWND hwnd) {
  Lock lock(wm_mutex());
  auto w = find_locked(hwnd);
  return w ? w->thread_id : 0;
}

bool window_screen_rect(HWND hwnd, RECT* out) {
  Lock lock(wm_mutex());
  auto w = find_locked(hwnd);
  if (!w || !out) return false;
  POINT o = window_screen_origin_locked(*w);
  *out = {o.x, o.y, o.x + (w->window_rect.right - w->window_rect.left),
          o.y + (w->window_rect.bottom - w->window_rect.top)};
  return true;
}

}  // namespace platform::winsys

using namespace platform::winsys;

extern "C" {

HWND GetDesktopWindow() {
  Lock lock(wm_mutex());
  return state_locked().desktop->handle;
}

HWND GetParent(HWND hwnd) {
  LockedWindow w(hwnd);
  if (!w || is_desktop_locked(*w)) return nullptr;
  if (w->style & WS_CHILD) return w->parent;
  if (w->style & WS_POPUP) return w->owner;
  return nullptr;
}

HWND SetParent(HWND child, HWND new_parent) {
  HWND old;
  bool was_visible;
  {
    Lock lock(wm_mutex());
    State& s = state_locked();
    auto w = checked_locked(child);
    if (!w || is_desktop_locked(*w)) return nullptr;
    auto p = new_parent ? checked_locked(new_parent) : s.desktop;
    if (!p) return nullptr;
    // A window cannot become its own descendant.
    for (auto a = p; a; a = find_locked(a->parent)) {
      if (a == w) return nullptr;
      if (is_desktop_locked(*a)) break;
    }
    old = w->parent;
    was_visible = (w->style & WS_VISIBLE) != 0;
    if (auto top = top_level_of_locked(w); top && was_visible) {
      POINT o = window_origin_in_top_locked(*w);
      RECT area{o.x, o.y, o.x + (w->window_rect.right - w->window_rect.left),
                o.y + (w->window_rect.bottom - w->window_rect.top)};
      if (top != w) invalidate_top_area_locked(*top, area);
    }
    if (auto op = find_locked(old)) std::erase(op->children, child);
    // Keeps the position relative to the new parent's client area, as the platform does.
    w->parent = p->handle;
    p->children.insert(p->children.begin(), child);
    if (is_desktop_locked(*p)) {
      w->style &= ~WS_CHILD;
      ensure_surface_locked(*w);
    } else {
      w->style |= WS_CHILD;
      w->surface.reset();
    }
    if (was_visible)
      if (auto top = top_level_of_locked(w)) {
        POINT o = window_origin_in_top_locked(*w);
        invalidate_top_area_locked(*top, {o.x, o.y, o.x + (w->window_rect.right - w->window_rect.left),
                                          o.y + (w->window_rect.bottom - w->window_rect.top)});
      }
  }
  return old;
}

HWND GetAncestor(HWND hwnd, UINT flags) {
  LockedWindow w(hwnd);
  if (!w || is_desktop_locked(*w)) return nullptr;
  switch (flags) {
    case GA_PARENT:
      return w->parent;
    case GA_ROOT: {
      auto t = top_level_of_locked(w.ptr());
      return t ? t->handle : nullptr;
    }
    case GA_ROOTOWNER: {
      auto t = top_level_of_locked(w.ptr());
      while (t && t->owner) {
        auto o = find_locked(t->owner);
        if (!o) break;
        t = o;
      }
      return t ? t->handle : nullptr;
    }
  }
  return nullptr;
}

HWND GetWindow(HWND hwnd, UINT cmd) {
  LockedWindow w(hwnd);
  if (!w) return nullptr;
  switch (cmd) {
    case GW_OWNER:
      return w->owner;
    case GW_CHILD:
      return w->children.empty() ? nullptr : w->children.front();
    case GW_HWNDFIRST:
    case GW_HWNDLAST:
    case GW_HWNDNEXT:
    case GW_HWNDPREV:
      return sibling_locked(*w, static_cast<int>(cmd));
    case GW_ENABLEDPOPUP:
      return nullptr;
  }
  return nullptr;
}

HWND GetTopWindow(HWND hwnd) {
  Lock lock(wm_mutex());
  auto w = hwnd ? checked_locked(hwnd) : state_locked().desktop;
  if (!w || w->children.empty()) return nullptr;
  return w->children.front();
}

BOOL IsChild(HWND parent, HWND hwnd) {
  Lock lock(wm_mutex());
  auto w = checked_locked(hwnd);
  if (!w || !checked_locked(parent)) return FALSE;
  while (w && (w->style & WS_CHILD)) {
    if (w->parent == parent) return TRUE;
    w = find_locked(w->parent);
  }
  return FALSE;
}

DWORD GetWindowThreadProcessId(HWND hwnd, LPDWORD process_id) {
  LockedWindow w(hwnd);
  if (!w) return 0;
  if (process_id) *process_id = static_cast<DWORD>(::getpid());
  return w->thread_id ? w->thread_id : state_locked().display_thread;
}

BOOL EnumWindows(WNDENUMPROC proc, LPARAM param) {
  if (!proc) return FALSE;
  for (HWND h : children_of(GetDesktopWindow()))
    if (IsWindow(h) && !proc(h, param)) return FALSE;
  return TRUE;
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM param) {
  if (!proc) return FALSE;
  if (parent && !valid_window(parent)) return FALSE;
  return enum_children(parent ? parent : GetDesktopWindow(), proc, param) ? TRUE : FALSE;
}

BOOL EnumThreadWindows(DWORD thread_id, WNDENUMPROC proc, LPARAM param) {
  if (!proc) return FALSE;
  std::vector<HWND> mine;
  {
    Lock lock(wm_mutex());
    for (HWND h : state_locked().desktop->children)
      if (auto w = find_locked(h); w && w->thread_id == thread_id) mine.push_back(h);
  }
  for (HWND h : mine)
    if (IsWindow(h) && !proc(h, param)) return FALSE;
  return mine.empty() ? FALSE : TRUE;
}

HWND FindWindowExA(HWND parent, HWND child_after, LPCSTR class_name, LPCSTR window_name) {
  Lock lock(wm_mutex());
  auto p = parent ? checked_locked(parent) : state_locked().desktop;
  if (!p) return nullptr;
  std::string cname;
  if (class_name) {
    if (IS_INTRESOURCE(class_name)) {
      for (auto& c : state_locked().classes)
        if (c->atom == reinterpret_cast<ULONG_PTR>(class_name)) cname = c->name;
      if (cname.empty()) return nullptr;
    } else {
      cname = class_name;
    }
  }
  bool started = child_after == nullptr;
  for (HWND h : p->children) {
    if (!started) {
      started = h == child_after;
      continue;
    }
    auto w = find_locked(h);
    if (!w) continue;
    if (class_name && !(w->cls && iequals(w->cls->name, cname))) continue;
    if (window_name && w->text != window_name) continue;
    return h;
  }
  return nullptr;
}

HWND FindWindowA(LPCSTR class_name, LPCSTR window_name) {
  return FindWindowExA(nullptr, nullptr, class_name, window_name);
}

HWND GetDlgItem(HWND dialog, int id) {
  Lock lock(wm_mutex());
  auto d = checked_locked(dialog);
  if (!d) return nullptr;
  for (HWND h : d->children)
    if (auto w = find_locked(h); w && static_cast<int>(w->id) == id) return h;
  return nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
  LockedWindow w(hwnd);
  if (!w || !(w->style & WS_CHILD)) return 0;
  return static_cast<int>(w->id);
}

LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT msg, WPARAM wp, LPARAM lp) {
  HWND item = GetDlgItem(dialog, id);
  return item ? SendMessageA(item, msg, wp, lp) : 0;
}

BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text) {
  HWND item = GetDlgItem(dialog, id);
  return item ? SetWindowTextA(item, text) : FALSE;
}

UINT GetDlgItemTextA(HWND dialog, int id, LPSTR buffer, int size) {
  HWND item = GetDlgItem(dialog, id);
  if (!item) {
    if (buffer && size > 0) buffer[0] = '\0';
    return 0;
  }
  return static_cast<UINT>(GetWindowTextA(item, buffer, size));
}

}  // extern "C"
