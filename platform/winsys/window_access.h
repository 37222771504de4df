// Window-tree queries for the input routing and the display backends (same lock discipline as
// the public API: safe from any thread, never calls a window procedure).
// Contract: a handle that is not a live window gives false / nullptr.
#pragma once

#include "platform/api/types.h"

namespace platform::winsys {

bool is_top_level(HWND hwnd);
// The top-level window that contains `hwnd` (itself when it is top-level).
HWND top_level_of(HWND hwnd);
// The window that has the mouse captured, of any thread; nullptr when none.
HWND capture_window();
// The focus window of the thread that owns `hwnd` (nullptr when that thread has none).
HWND focus_of_thread(DWORD thread_id);
// The active window of a thread.
HWND active_of_thread(DWORD thread_id);
// The thread that owns a window; 0 for a bad handle.
DWORD window_thread(HWND hwnd);
// Screen rectangle of a window (non-client area included).
bool window_screen_rect(HWND hwnd, RECT* out);
// Activates a top-level window of the calling thread because it was clicked (WM_ACTIVATE
// reports WA_CLICKACTIVE). False when `top` is not a top-level window of this thread.
bool activate_by_click(HWND top);

}  // namespace platform::winsys
