// Property requests from worker threads: everything a request does to a unit's native window
// (getters, setters, moving, showing, re-creating) runs on the thread that owns the window, as
// one synchronous window message that the owner serves while the worker waits.
// Contract:
// - prepare_owner_relay() is called on the thread that owns the windows (the main thread, from
//   event delivery and message pre-translation): it creates that thread's hidden relay window
//   once. A worker's request before that runs on the worker, as plain window calls do.
// - run_on_owner(window, work) runs `work` at once when the calling thread owns `window` (or the
//   window is gone, or no relay serves its owner); otherwise it sends it to the owner's relay
//   and returns after the owner has run it. The owner serves it whenever it waits for messages.
#pragma once

#include <functional>

#include "platform/api/types.h"

namespace ui {

void prepare_owner_relay();
void run_on_owner(HWND window, const std::function<void()>& work);

}  // namespace ui
