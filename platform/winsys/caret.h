// What the rest of the window system tells the caret: painting hides it, destruction ends it.
// Contract: called on the window's own thread; a window without this thread's caret is ignored.
#pragma once

#include "platform/api/types.h"

namespace platform::winsys {

// BeginPaint: takes the caret off the screen before the window draws over it.
void caret_hide_for_paint(HWND hwnd);
// EndPaint: puts back a caret that caret_hide_for_paint took off for `hwnd`.
void caret_show_after_paint(HWND hwnd);
// The window is being destroyed: its caret goes without being drawn again.
void caret_window_destroyed(HWND hwnd);

}  // namespace platform::winsys
