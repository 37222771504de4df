// Lets the window system serve cross-thread sent messages while a thread waits in the kernel.
// Contract: without a hook (the default) kernel waits (WaitForSingleObject,
// WaitForMultipleObjects) do not serve messages, as plain waits on the platform do not. With a
// hook installed, a waiting thread calls it (without any kernel lock held) before it first
// blocks and again after every wake_waiters(); the hook serves the calling thread's pending sent
// messages, if any, and returns. wake_waiters() must be called after queueing a sent message for
// another thread so that a thread blocked in a kernel wait notices it. Installing null removes
// the hook. Sleep never serves messages.
#pragma once

namespace platform::kernel {

using WaitHook = void (*)();

void set_wait_hook(WaitHook hook);
void wake_waiters();

}  // namespace platform::kernel
