// Lets the window system take part in kernel waits: serving cross-thread sent messages while a
// thread waits, and waiting for kernel objects and queue input at once.
// Contract:
// - Without a hook (the default) kernel waits (WaitForSingleObject, WaitForMultipleObjects) do
//   not serve messages, as plain waits on the platform do not. With a hook installed, a waiting
//   thread calls it before it first blocks and again after every wake_waiters(); the hook
//   serves the calling thread's pending sent messages, if any, and returns. Installing null
//   removes the hook. Sleep never serves messages.
// - wake_waiters() wakes every thread blocked in a kernel wait so that it runs its hook and its
//   interrupt check again; call it after queueing a message for another thread.
// - wait_for_objects waits like WaitForMultipleObjects (0 to MAXIMUM_WAIT_OBJECTS handles;
//   none only with an interrupt check) and also ends when interrupted(context) answers true,
//   answering WAIT_OBJECT_0 + handles.size() then. The check runs before blocking and after
//   every wake_waiters(). Hook and check run without any kernel lock held. Bad handles give
//   WAIT_FAILED with ERROR_INVALID_HANDLE.
#pragma once

#include <span>

#include "platform/api/kernel.h"

namespace platform::kernel {

using WaitHook = void (*)();
using WaitInterrupt = bool (*)(void* context);

void set_wait_hook(WaitHook hook);
void wake_waiters();
DWORD wait_for_objects(std::span<const HANDLE> handles, bool wait_all, DWORD milliseconds,
                       WaitInterrupt interrupted = nullptr, void* context = nullptr);

}  // namespace platform::kernel
