// Calling window procedures and the cross-thread send protocol.
// A message sent to a window of another thread is queued to the owner thread, which runs it
// whenever it waits for messages; the sender blocks meanwhile but keeps serving the messages
// sent to itself, so two threads sending to each other never deadlock.
#pragma once

#include <functional>
#include <optional>

#include "platform/winsys/wm_state.h"

namespace platform::winsys {

// The window procedure of `hwnd`, without hooks; 0 when the window is gone.
LRESULT call_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
// A sent message on the owner thread: WH_CALLWNDPROC hooks, then the procedure.
LRESULT deliver_sent(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, bool from_this_thread);
// Runs every message other threads have sent to the calling thread; true when any ran.
bool serve_sent_messages();
// Sends and waits. `timeout_ms` < 0 waits without limit. False when the window is invalid,
// its thread has ended, the target counts as hung (SMTO_ABORTIFHUNG) or the time ran out.
bool send_message(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT flags, int timeout_ms, LRESULT* result);
// Blocks the calling thread (the lock held on entry and exit) until its queue is woken or the
// process clock reaches the deadline. On the display thread this waits in the backend.
void wait_for_wake(Lock& lock, ThreadQueue& q, std::optional<clock::Millis> deadline);

}  // namespace platform::winsys
