// X protocol errors in a process on SDL's X11 driver. Requests about a window that the server
// has already destroyed (a pop-up closed while an event for it was under way, a window another
// client destroyed) come back as asynchronous errors, and Xlib's default handler ends the
// process. Here each becomes a line on stderr instead, one for any one resource however many
// requests still named it, none for a window the backend knows is gone or another client's
// window (a window manager's frame goes with ours), and none for freeing a GC whose creation for such a
// window already failed.
#pragma once

namespace platform::display::sdl {

// Installs the handler. Does nothing on other video drivers.
void tolerate_x11_errors();

// `xwindow` no longer exists on the server (its DestroyNotify arrived): the requests SDL still
// makes about it while the window is taken down fail as expected and are not reported.
void note_x11_window_gone(unsigned long xwindow);

}  // namespace platform::display::sdl
