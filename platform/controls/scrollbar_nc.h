// The non-client scroll bars of a window (WS_VSCROLL / WS_HSCROLL), as a helper that a window
// procedure calls before anything else:
//
//   LRESULT r;
//   if (platform::controls::scrollbar::handle_message(hwnd, msg, wp, lp, r)) return r;
//
// The window system's default procedure leaves the bars' room in WM_NCCALCSIZE; this draws them
// in WM_NCPAINT, answers WM_NCHITTEST over
// them, and runs arrow, page and thumb tracking (mouse capture, auto-repeat timer) that reaches
// the window as WM_VSCROLL / WM_HSCROLL. It forgets the window on WM_NCDESTROY (and passes that
// message on). Every other message returns false untouched.
#pragma once

#include "platform/api/scrollbar.h"

namespace platform::controls::scrollbar {

bool handle_message(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

// Flat look (no 3-D edges), for LVS_EX_FLATSB.
void set_flat(HWND hwnd, bool flat);

// The bars' thickness in pixels.
int bar_width();

}  // namespace platform::controls::scrollbar
