// Mouse tracking (TrackMouseEvent): leave and hover notifications.
// Contract: one request of each kind at a time, as the pointer is in one place.
// - Leave: one WM_MOUSELEAVE is posted to the window when the pointer leaves its client area (or
//   every window); TME_CANCEL or the window's destruction end the request without a message.
// - Hover: one WM_MOUSEHOVER (key flags, client position) is posted once the pointer has rested
//   within SM_CXMOUSEHOVER x SM_CYMOUSEHOVER (4 x 4) pixels for the hover time (HOVER_DEFAULT:
//   400 ms). It is timed with a thread timer of the thread that asked, so that thread's message
//   loop must run. Leaving the client area ends the request.
#pragma once

#include "platform/winsys/input_target.h"

namespace platform::winsys::input::tracking {

// Called for every mouse event with where the pointer now is.
void pointer_over(const Target& target);

}  // namespace platform::winsys::input::tracking
