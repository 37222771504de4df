#include "platform/winsys/input_target.h"

#include "platform/api/user.h"
#include "platform/winsys/window_access.h"

namespace platform::winsys::input {
namespace {

bool contains(HWND w, POINT p) {
  RECT r{};
  if (!IsWindowVisible(w) || !GetWindowRect(w, &r)) return false;
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

HWND deepest_child(HWND w, POINT screen) {
  for (int depth = 0; depth < 256; ++depth) {
    POINT c = screen;
    ScreenToClient(w, &c);
    HWND child = ChildWindowFromPointEx(w, c, CWP_SKIPINVISIBLE);
    if (!child || child == w) return w;
    w = child;
  }
  return w;
}

// The window that gets the point when `w` lets it through (HTTRANSPARENT): a sibling further
// down the z-order that contains it, else the parent.
HWND window_below(HWND w, POINT screen) {
  for (HWND next = GetWindow(w, GW_HWNDNEXT); next; next = GetWindow(next, GW_HWNDNEXT))
    if (contains(next, screen)) return deepest_child(next, screen);
  return is_top_level(w) ? nullptr : GetParent(w);
}

}  // namespace

Target find_target(POINT screen) {
  if (HWND capture = capture_window()) return Target{capture, HTCLIENT, true, true};
  HWND w = WindowFromPoint(screen);
  for (int guard = 0; w && guard < 1024; ++guard) {
    if (!IsWindowEnabled(w)) {
      if (is_top_level(w)) return Target{w, HTERROR, false, false};
      w = GetParent(w);
      continue;
    }
    LRESULT hit = SendMessageA(w, WM_NCHITTEST, 0,
                               MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
    if (hit != HTTRANSPARENT) return Target{w, hit, hit == HTCLIENT, false};
    w = window_below(w, screen);
  }
  return Target{};
}

}  // namespace platform::winsys::input
