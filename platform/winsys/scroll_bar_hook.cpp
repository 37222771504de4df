// The default procedure's side of the scroll bar hook: drawing on WM_NCPAINT and the modal
// tracking loop after a click on a bar.
#include "platform/winsys/scroll_bar_hook.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/api/input.h"
#include "platform/api/user.h"

namespace platform::winsys {
namespace {

struct HookStore {
  std::mutex mutex;
  ScrollBarHooks hooks;
};

HookStore& hook_store() {
  static HookStore store;
  return store;
}

// Windows whose WM_NCPAINT is inside the hook: the hook's own call back into DefWindowProcA
// only draws the frame.
std::vector<HWND>& painting() {
  thread_local std::vector<HWND> windows;
  return windows;
}

bool is_tracking_message(UINT msg) {
  return (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) || msg == WM_TIMER;
}

void track(HWND hwnd, const ScrollBarHooks& hooks) {
  MSG m;
  while (GetCapture() == hwnd) {
    BOOL got = GetMessageA(&m, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      PostQuitMessage(static_cast<int>(m.wParam));  // for the caller's own loop
      break;
    }
    LRESULT ignored = 0;
    if (m.hwnd == hwnd && is_tracking_message(m.message) &&
        hooks.handle(hwnd, m.message, m.wParam, m.lParam, ignored))
      continue;
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
}

}  // namespace

void set_scroll_bar_hooks(const ScrollBarHooks& hooks) {
  std::lock_guard guard(hook_store().mutex);
  hook_store().hooks = hooks;
}

ScrollBarHooks scroll_bar_hooks() {
  std::lock_guard guard(hook_store().mutex);
  return hook_store().hooks;
}

bool default_scroll_bar_message(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg != WM_NCPAINT && msg != WM_NCLBUTTONDOWN && msg != WM_NCLBUTTONDBLCLK && msg != WM_CAPTURECHANGED &&
      msg != WM_NCDESTROY)
    return false;
  const ScrollBarHooks hooks = scroll_bar_hooks();
  if (!hooks.handle) return false;
  switch (msg) {
    case WM_NCPAINT: {
      if (!(GetWindowLongA(hwnd, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL))) return false;
      auto& inside = painting();
      if (std::find(inside.begin(), inside.end(), hwnd) != inside.end()) return false;
      inside.push_back(hwnd);
      const bool taken = hooks.handle(hwnd, msg, wp, lp, result);
      inside.erase(std::find(inside.begin(), inside.end(), hwnd));
      return taken;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (wp != HTVSCROLL && wp != HTHSCROLL) return false;
      if (!hooks.handle(hwnd, msg, wp, lp, result)) return false;
      track(hwnd, hooks);
      return true;
    case WM_CAPTURECHANGED:
    case WM_NCDESTROY:
      // Lets the bars forget tracking state; the default answer still follows.
      hooks.handle(hwnd, msg, wp, lp, result);
      return false;
    default:
      return false;
  }
}

}  // namespace platform::winsys
