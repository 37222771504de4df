// What the X window manager is told about a top-level window beyond SDL's own flags: that an
// owned window is a dialog, and which frame functions and buttons the window offers.
// Contract: set before the window is first mapped, as window managers read them then. Does
// nothing on other video drivers or without libX11.
#pragma once

#include <SDL.h>

namespace platform::display::sdl {

struct FrameFunctions {
  bool resize = false;
  bool minimise = false;
  bool maximise = false;
  bool close = false;
};

void set_x11_frame_hints(SDL_Window* window, bool dialog, const FrameFunctions& functions);

}  // namespace platform::display::sdl
