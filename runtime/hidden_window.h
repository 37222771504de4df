// The hidden runtime window: an invisible tool window of the main thread whose one job is to
// receive the end-program message from worker threads.
// Contract: create_hidden_window registers its class on first use (arrow cursor, null brush)
// and answers the window, or null when the window system refuses. The window runs the end of
// the program on the main thread when it receives kEndProgramMessage (wParam = exit code),
// unless the end has begun already.
#pragma once

#include "platform/api/types.h"

namespace runtime {

HWND create_hidden_window();

}  // namespace runtime
