// Painting of BUTTON windows: one painter per kind, chosen from a table.
#pragma once

#include "platform/api.h"
#include "platform/controls/button_state.h"

namespace platform::controls {

// Paints the whole button `hwnd` on `dc` (client coordinates). Owner-drawn buttons send
// WM_DRAWITEM to the parent instead; that may run any code of the program, so the state is a copy.
void paint_button(HWND hwnd, HDC dc, ButtonState state);

}  // namespace platform::controls
