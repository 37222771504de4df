// The "BUTTON" window class (behaviour documented in platform/api/controls.h).
#pragma once

namespace platform::controls {

inline constexpr const char* kButtonClass = "BUTTON";

// Registers the class for every thread; run by the window system before the first class
// lookup.
void register_button_class();

}  // namespace platform::controls
