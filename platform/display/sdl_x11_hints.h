// What the X window manager is told about a top-level window beyond SDL's own flags: whether it
// is a dialog and which window it belongs to, and which frame functions and buttons it offers.
// Contract: set before the window is first mapped, as window managers decide a frame then; set
// again after a style change (window managers follow later changes of the Motif hints). SDL
// writes none of these after creation, except SDL_SetWindowBordered, which rewrites the Motif
// hints. Does nothing on other video drivers or without libX11.
#pragma once

#include <SDL.h>

namespace platform::display::sdl {

struct FrameHints {
  bool dialog = false;  // _NET_WM_WINDOW_TYPE_DIALOG, else _NORMAL
  // WM_TRANSIENT_FOR. When null there is none: SDL names the root window there when it creates
  // a window on a server that has no Motif atom yet, which window managers take for a dialog.
  SDL_Window* owner = nullptr;
  bool resize = false;
  bool minimise = false;
  bool maximise = false;
  bool close = false;
};

void set_x11_frame_hints(SDL_Window* window, const FrameHints& hints);

// Makes sure the X server reports to this client (DestroyNotify) when another client destroys
// `window`, even when a window manager has reparented it into a frame. SDL selects this itself;
// the check keeps that from being an assumption.
void watch_x11_destruction(SDL_Window* window);

}  // namespace platform::display::sdl
