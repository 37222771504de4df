// ShowWindow and the window states: hidden, shown, minimised, maximised, restored.
#include <algorithm>

#include "platform/display/backend.h"
#include "platform/kernel/codepage.h"
#include "platform/winsys/dispatch.h"
#include "platform/winsys/window_internal.h"
#include "platform/winsys/window_lookup.h"

using namespace platform::winsys;

extern "C" {

BOOL ShowWindow(HWND hwnd, int cmd) {
  DWORD style;
  bool child;
  RECT normal;
  {
    LockedWindow w(hwnd);
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
    LockedWindow w(hwnd);
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
  LockedWindow w(hwnd);
  return w && really_visible_locked(*w) ? TRUE : FALSE;
}

BOOL IsIconic(HWND hwnd) {
  LockedWindow w(hwnd);
  return w && (w->style & WS_MINIMIZE) ? TRUE : FALSE;
}

BOOL IsZoomed(HWND hwnd) {
  LockedWindow w(hwnd);
  return w && (w->style & WS_MAXIMIZE) ? TRUE : FALSE;
}

}  // extern "C"
