// Switching the visual styles on and off for the calling thread: attaching a control (record,
// replacement procedure, redraw), detaching it, and the hook that attaches controls created
// later.
// Contract:
// - set_visual_style(n) stores n, switches off, and for 1 <= n <= 3 switches on again; it
//   answers 1 when switched on, otherwise non-zero when a hook was removed and 0 when there
//   was none (so a first call with 0 touches nothing).
// - attach() skips windows that are styled already or whose type is not subclassed; detach()
//   puts the previous procedure back. When another procedure was installed above ours in the
//   meantime, taking ours out would cut that one's chain: the record then only forwards until
//   the window is gone (or is styled again), and is removed with it.
#pragma once

#include "platform/api/user.h"

namespace libs::visualstyle {

int set_visual_style(int style);

void attach(HWND window);
void detach(HWND window);
// Detaches a window that is being destroyed (nothing is redrawn).
void detach_destroyed(HWND window);
// True while the window is painted by the styles (a forwarding record doesn't count).
bool is_styled(HWND window);

// The replacement window procedure of every styled control.
LRESULT CALLBACK styled_procedure(HWND window, UINT msg, WPARAM wp, LPARAM lp);

}  // namespace libs::visualstyle
