// How the display backends and input routing feed the message queues.
// Contract: hwnd must be a live window, otherwise the call fails (false) and nothing is queued.
// Input messages are retrieved in posting order together with posted messages; the message's
// time (GetMessageTime) is the tick count when posted and its position (GetMessagePos) is
// `screen_pt`. Safe from any thread; never calls a window procedure.
#pragma once

#include "platform/api/types.h"

namespace platform::winsys {

bool post_input_message(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, POINT screen_pt);
// The thread that owns the display: the first thread that created a window; 0 before.
DWORD display_thread_id();
// Wakes a thread waiting for messages (GetMessageA, WaitMessage...) without queuing anything.
void post_thread_wakeup(DWORD thread_id);
// The last cursor position reported with an input message, in screen coordinates.
POINT last_cursor_pos();

}  // namespace platform::winsys
