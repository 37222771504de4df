// Mouse-leave tracking (TrackMouseEvent with TME_LEAVE).
// Contract: one tracked window at a time, as the pointer is in one place. The request ends with
// one WM_MOUSELEAVE posted to the window when the pointer leaves its client area (or every window),
// with TME_CANCEL, or when the window is destroyed (no message then).
#pragma once

#include "platform/winsys/input_target.h"

namespace platform::winsys::input::tracking {

// Called for every mouse event with where the pointer now is.
void pointer_over(const Target& target);

}  // namespace platform::winsys::input::tracking
