// StartThread(routine, [parameter], [handle variable]): runs a compiled routine on a new thread
// with the parameter (null when absent) as its one argument; the routine's result is the
// thread's exit code.
// Contract: answers true when the thread was created. Without a handle variable the handle is
// closed at once and the thread runs on detached; with one, the handle (0 when creation failed)
// is written into the 32-bit variable whose address argument 3 holds, and the caller owns it.
// Nothing waits for or stops the threads started here; running_threads() counts those whose
// routine has not returned yet (from StartThread's answer on, so a caller never sees a thread
// it started uncounted).
#pragma once

#include <cstdint>

#include "runtime/abi/records.h"

namespace libs::threads {

void start_thread_command(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args);
int running_threads();

}  // namespace libs::threads
