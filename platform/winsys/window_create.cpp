// Creating and destroying windows, with the platform's message order.
#include <algorithm>
#include <atomic>

#include "platform/display/backend.h"
#include "platform/winsys/caret.h"
#include "platform/winsys/dispatch.h"
#include "platform/winsys/hooks.h"
#include "platform/winsys/window_internal.h"
#include "platform/winsys/window_lookup.h"

namespace platform::winsys {
namespace {

// Cascade for top-level windows placed with CW_USEDEFAULT.
POINT next_default_position() {
  static std::atomic<int> n{0};
  int i = n++ % 8;
  return {26 + 26 * i, 26 + 26 * i};
}

void link_locked(Window& parent, Window& w) {
  if (is_desktop_locked(parent)) {
    // New top-level windows go on top of their group (topmost windows stay above the rest).
    auto& list = parent.children;
    auto pos = list.begin();
    if (!(w.ex_style & WS_EX_TOPMOST))
      while (pos != list.end()) {
        auto s = find_locked(*pos);
        if (!s || !(s->ex_style & WS_EX_TOPMOST)) break;
        ++pos;
      }
    list.insert(pos, w.handle);
  } else {
    // Children are appended: creation order is z-order from the top, and so the tab order.
    parent.children.push_back(w.handle);
  }
}

void unlink_locked(Window& w) {
  if (auto p = find_locked(w.parent)) std::erase(p->children, w.handle);
  State& s = state_locked();
  if (s.capture == w.handle) s.capture = nullptr;
  if (s.foreground == w.handle) s.foreground = nullptr;
  if (QueuePtr q = queue_of_locked(w.thread_id)) {
    if (q->focus == w.handle) q->focus = nullptr;
    if (q->active == w.handle) q->active = nullptr;
  }
  purge_window_messages_locked(w.handle, w.thread_id);
  if (w.cls) --w.cls->window_count;
  s.windows.erase(w.handle);
}

void send_destroy_tree(HWND hwnd) {
  SendMessageA(hwnd, WM_DESTROY, 0, 0);
  std::vector<HWND> kids;
  {
    Lock lock(wm_mutex());
    if (auto w = find_locked(hwnd)) kids = w->children;
  }
  for (HWND k : kids) {
    {
      Lock lock(wm_mutex());
      auto c = find_locked(k);
      if (!c || c->destroying) continue;
      c->destroying = true;
    }
    send_destroy_tree(k);
  }
}

void send_ncdestroy_tree(HWND hwnd) {
  std::vector<HWND> kids;
  {
    Lock lock(wm_mutex());
    if (auto w = find_locked(hwnd)) kids = w->children;
  }
  for (HWND k : kids) send_ncdestroy_tree(k);
  SendMessageA(hwnd, WM_NCDESTROY, 0, 0);
  caret_window_destroyed(hwnd);
  bool top = false;
  WindowPtr keep;
  {
    Lock lock(wm_mutex());
    keep = find_locked(hwnd);
    if (!keep) return;
    top = is_top_level_locked(*keep);
    unlink_locked(*keep);
    if (keep->window_region) {
      // Deleted below, outside the lock.
    }
  }
  if (keep->window_region) {
    DeleteObject(keep->window_region);
    keep->window_region = nullptr;
  }
  if (top) run_on_display([hwnd](display::Backend& b) { b.window_destroyed(hwnd); });
}

MINMAXINFO default_minmax(DWORD style, DWORD ex_style) {
  SIZE screen = screen_size();
  FrameLayout f = frame_layout(nullptr, style, ex_style, false, 200, 200);
  int border = f.border;
  MINMAXINFO mmi{};
  mmi.ptMaxSize = {screen.cx + 2 * border, screen.cy + 2 * border};
  mmi.ptMaxPosition = {-border, -border};
  mmi.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  mmi.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
  return mmi;
}

}  // namespace

void send_parent_notify(HWND hwnd, UINT event, LPARAM lp) {
  HWND cur = hwnd;
  for (;;) {
    HWND parent;
    WPARAM wp;
    {
      Lock lock(wm_mutex());
      auto w = find_locked(cur);
      if (!w || !(w->style & WS_CHILD) || (w->ex_style & WS_EX_NOPARENTNOTIFY)) return;
      auto p = find_locked(w->parent);
      if (!p || is_desktop_locked(*p)) return;
      parent = p->handle;
      auto self = find_locked(hwnd);
      wp = MAKEWPARAM(static_cast<WORD>(event), static_cast<WORD>(self ? self->id : 0));
    }
    SendMessageA(parent, WM_PARENTNOTIFY, wp, lp);
    cur = parent;
  }
}

MINMAXINFO minmax_info(HWND hwnd) {
  DWORD style = 0, ex = 0;
  {
    Lock lock(wm_mutex());
    if (auto w = find_locked(hwnd)) {
      style = w->style;
      ex = w->ex_style;
    }
  }
  MINMAXINFO mmi = default_minmax(style, ex);
  SendMessageA(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
  return mmi;
}

// `notify_parent` is false when creation failed: the parent never heard of the window.
BOOL destroy_window(HWND hwnd, bool notify_parent) {
  std::vector<HWND> owned;
  bool child;
  {
    Lock lock(wm_mutex());
    WindowPtr w = checked_locked(hwnd);
    if (!w || is_desktop_locked(*w) || w->thread_id != this_thread_id()) return FALSE;
    if (w->destroying) return TRUE;  // already on its way out
    w->destroying = true;
    child = (w->style & WS_CHILD) != 0;
    for (auto& [h, o] : state_locked().windows)
      if (o->owner == hwnd && o->thread_id == w->thread_id) owned.push_back(h);
  }
  if (call_hooks(WH_CBT, HCBT_DESTROYWND, reinterpret_cast<WPARAM>(hwnd), 0)) {
    Lock lock(wm_mutex());
    if (auto w = find_locked(hwnd)) w->destroying = false;
    return FALSE;
  }
  if (child && notify_parent) send_parent_notify(hwnd, WM_DESTROY, reinterpret_cast<LPARAM>(hwnd));
  for (HWND o : owned) DestroyWindow(o);
  hide_for_destroy(hwnd);
  focus_leaves(hwnd);
  release_capture_of(hwnd);
  send_destroy_tree(hwnd);
  send_ncdestroy_tree(hwnd);
  return TRUE;
}

}  // namespace platform::winsys

using namespace platform::winsys;

extern "C" {

HWND CreateWindowExA(DWORD ex_style, LPCSTR class_name, LPCSTR window_name, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
  if (!class_name) return nullptr;
  SIZE screen = screen_size();  // chooses the backend before any lock is taken
  ensure_system_classes();
  std::string cname = IS_INTRESOURCE(class_name)
                          ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(class_name))
                          : std::string(class_name);
  const DWORD requested_style = style;
  HWND hwnd;
  bool child = (style & WS_CHILD) != 0;
  {
    Lock lock(wm_mutex());
    State& s = state_locked();
    auto cls = find_class_locked(cname);
    if (!cls) return nullptr;
    WindowPtr parent_w;
    HWND owner = nullptr;
    if (child) {
      parent_w = find_locked(parent);
      if (!parent_w) return nullptr;
    } else {
      if (parent && parent != HWND_MESSAGE) {
        auto o = find_locked(parent);
        if (!o) return nullptr;
        auto root = top_level_of_locked(o);
        owner = root ? root->handle : nullptr;
      }
      parent_w = s.desktop;
      if (!(style & WS_POPUP)) style |= WS_CLIPSIBLINGS | WS_CAPTION;  // overlapped windows
    }
    if ((style & WS_CAPTION) == WS_CAPTION || (style & WS_THICKFRAME) || (ex_style & WS_EX_DLGMODALFRAME))
      ex_style |= WS_EX_WINDOWEDGE;
    else
      ex_style &= ~WS_EX_WINDOWEDGE;

    if (!child && !(style & WS_POPUP)) {
      if (x == CW_USEDEFAULT) {
        POINT p = next_default_position();
        x = p.x;
        y = p.y;
      }
      if (width == CW_USEDEFAULT) {
        width = screen.cx * 3 / 4;
        height = screen.cy * 3 / 4;
      }
    }
    if (x == CW_USEDEFAULT) x = y = 0;
    if (width == CW_USEDEFAULT) width = height = 0;
    if (y == CW_USEDEFAULT) y = 0;
    if (height == CW_USEDEFAULT) height = 0;
    width = std::max(width, 0);
    height = std::max(height, 0);

    auto w = std::make_shared<Window>();
    hwnd = w->handle = new_handle_locked();
    w->thread_id = this_thread_id();
    w->cls = cls;
    w->proc = cls->proc;
    w->style = style & ~(WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
    w->ex_style = ex_style;
    w->parent = parent_w->handle;
    w->owner = owner;
    w->id = reinterpret_cast<LONG_PTR>(menu);
    w->instance = instance;
    w->extra.assign(static_cast<std::size_t>(cls->wnd_extra), 0);
    w->window_rect = w->client_rect = {x, y, x + width, y + height};
    w->normal_rect = w->window_rect;
    ++cls->window_count;
    s.windows[hwnd] = w;
    link_locked(*parent_w, *w);
    current_queue_locked();
    if (!s.display_thread) s.display_thread = w->thread_id;
  }

  CREATESTRUCTA cs{
      param,       instance,   menu,    parent, height, width, y, x, static_cast<LONG>(requested_style),
      window_name, class_name, ex_style};
  CBT_CREATEWNDA cbt{&cs, HWND_TOP};
  if (call_hooks(WH_CBT, HCBT_CREATEWND, reinterpret_cast<WPARAM>(hwnd), reinterpret_cast<LPARAM>(&cbt))) {
    // Refused by a hook: the window disappears without a message.
    Lock lock(wm_mutex());
    if (auto w = find_locked(hwnd)) unlink_locked(*w);
    return nullptr;
  }
  if (!child && ((style & WS_CAPTION) == WS_CAPTION || (style & WS_THICKFRAME))) {
    MINMAXINFO mmi = minmax_info(hwnd);
    int cx =
        std::clamp<int>(width, mmi.ptMinTrackSize.x, std::max(mmi.ptMinTrackSize.x, mmi.ptMaxTrackSize.x));
    int cy =
        std::clamp<int>(height, mmi.ptMinTrackSize.y, std::max(mmi.ptMinTrackSize.y, mmi.ptMaxTrackSize.y));
    Lock lock(wm_mutex());
    if (auto w = find_locked(hwnd)) {
      w->window_rect = w->client_rect = {x, y, x + cx, y + cy};
      w->normal_rect = w->window_rect;
      cs.cx = cx;
      cs.cy = cy;
    }
  }
  if (window_name && !IS_INTRESOURCE(window_name)) {
    Lock lock(wm_mutex());
    if (auto w = find_locked(hwnd)) w->text = window_name;  // DefWindowProc's WM_NCCREATE keeps it
  }
  if (!SendMessageA(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    send_ncdestroy_tree(hwnd);
    return nullptr;
  }
  RECT rc;
  {
    LockedWindow w(hwnd);
    if (!w) return nullptr;
    rc = w->window_rect;
  }
  SendMessageA(hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&rc));
  {
    LockedWindow w(hwnd);
    if (!w) return nullptr;
    w->client_rect = rc;
    if (is_top_level_locked(*w)) ensure_surface_locked(*w);
  }
  if (SendMessageA(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    destroy_window(hwnd, false);
    return nullptr;
  }
  RECT client;
  {
    LockedWindow w(hwnd);
    if (!w) return nullptr;
    client = w->client_rect;
  }
  SendMessageA(hwnd, WM_SIZE, SIZE_RESTORED,
               MAKELPARAM(static_cast<WORD>(client.right - client.left),
                          static_cast<WORD>(client.bottom - client.top)));
  SendMessageA(hwnd, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(client.left), static_cast<WORD>(client.top)));
  if (child) send_parent_notify(hwnd, WM_CREATE, reinterpret_cast<LPARAM>(hwnd));
  if (!IsWindow(hwnd)) return nullptr;
  if (requested_style & WS_VISIBLE) {
    int cmd = SW_SHOW;
    if (requested_style & WS_MINIMIZE)
      cmd = SW_SHOWMINIMIZED;
    else if (requested_style & WS_MAXIMIZE)
      cmd = SW_SHOWMAXIMIZED;
    ShowWindow(hwnd, cmd);
  } else if (requested_style & (WS_MINIMIZE | WS_MAXIMIZE)) {
    // Placed minimised or maximised but left hidden: the state applies when shown.
    Lock lock(wm_mutex());
    if (auto w = find_locked(hwnd)) w->style |= requested_style & (WS_MINIMIZE | WS_MAXIMIZE);
  }
  return IsWindow(hwnd) ? hwnd : nullptr;
}

HWND CreateWindowA(LPCSTR class_name, LPCSTR window_name, DWORD style, int x, int y, int width, int height,
                   HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
  return CreateWindowExA(0, class_name, window_name, style, x, y, width, height, parent, menu, instance,
                         param);
}

BOOL DestroyWindow(HWND hwnd) {
  return destroy_window(hwnd, true);
}

BOOL IsWindow(HWND hwnd) {
  Lock lock(wm_mutex());
  return find_locked(hwnd) ? TRUE : FALSE;
}

}  // extern "C"
