// How the scroll bar implementation reaches the default window procedure, so that every window
// with WS_VSCROLL / WS_HSCROLL gets working bars. Without a hook DefWindowProcA only leaves the
// bars' room and answers HTVSCROLL / HTHSCROLL; nothing is drawn and clicks do nothing.
// Contract: `handle` has the shape of a window procedure helper: it returns true when it took
// the message (its answer in `result`), false to leave it alone. DefWindowProcA passes it
// WM_NCPAINT (the hook calls DefWindowProcA for the frame and then draws the bars over it),
// WM_NCLBUTTONDOWN / WM_NCLBUTTONDBLCLK on HTVSCROLL / HTHSCROLL (the hook takes the mouse
// capture to track the bar), WM_CAPTURECHANGED and WM_NCDESTROY. While the window holds the
// capture after such a click, DefWindowProcA runs the tracking loop itself and offers the
// window's mouse and timer messages to `handle` before dispatching them. Called without any
// window-system lock held, on the window's thread.
#pragma once

#include "platform/api/types.h"

namespace platform::winsys {

struct ScrollBarHooks {
  bool (*handle)(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) = nullptr;
};

void set_scroll_bar_hooks(const ScrollBarHooks& hooks);
ScrollBarHooks scroll_bar_hooks();

// DefWindowProcA's part: true when the bars' hook answered `msg` (its answer in `result`).
bool default_scroll_bar_message(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

}  // namespace platform::winsys
