// On X11, SDL writes the window's WM_NAME as a Latin-1 STRING holding UTF-8 bytes, which tools
// that read WM_NAME (window lists, xdotool search) see as garbage for Chinese titles. This
// rewrites WM_NAME as UTF8_STRING. Does nothing on other video drivers or without libX11.
#pragma once

#include <SDL.h>

#include <string_view>

namespace platform::display::sdl {

void fix_x11_window_name(SDL_Window* window, std::string_view utf8);

}  // namespace platform::display::sdl
