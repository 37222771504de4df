// Gives a new top-level SDL window the icon the window system names for it (on X11,
// _NET_WM_ICON), so that task bars show it even where no desktop entry is matched to the window.
// Does nothing when the window has no icon.
#pragma once

#include <SDL.h>

#include "platform/api/types.h"

namespace platform::display::sdl {

void set_window_icon(SDL_Window* window, HWND top);

}  // namespace platform::display::sdl
