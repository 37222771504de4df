// Running the installed hooks of the calling thread (and the process-wide ones).
#pragma once

#include "platform/api/user.h"

namespace platform::winsys {

// Calls the first applicable hook of kind `id`; the chain continues through CallNextHookEx.
// Returns the hook's result, 0 when no hook is installed. Called without the lock.
LRESULT call_hooks(int id, int code, WPARAM wp, LPARAM lp);
bool has_hooks(int id);

}  // namespace platform::winsys
