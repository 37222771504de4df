// The window system's side of the display's input sink: input goes to platform/winsys/input.h,
// window facts come from the window tree, pixels from the backing surfaces.
#pragma once

namespace platform::winsys {

// Installs the sink in the display layer; the window state does so when it is first made,
// before any backend can pump.
void install_display_sink();

}  // namespace platform::winsys
