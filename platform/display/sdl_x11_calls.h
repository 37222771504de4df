// The few libX11 calls the SDL backend makes itself, looked up in the libX11 that SDL's X11
// driver has already loaded. A member is null when the library or the function is missing;
// callers then do nothing.
#pragma once

// The X11 part of the window-manager info is only declared when this is set.
#ifndef SDL_VIDEO_DRIVER_X11
#define SDL_VIDEO_DRIVER_X11 1
#endif
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xresource.h>

namespace platform::display::sdl {

struct X11Calls {
  using ErrorHandler = int (*)(Display*, XErrorEvent*);
  Atom (*intern_atom)(Display*, const char*, Bool) = nullptr;
  int (*change_property)(Display*, Window, Atom, Atom, int, int, const unsigned char*, int) = nullptr;
  int (*delete_property)(Display*, Window, Atom) = nullptr;
  int (*select_input)(Display*, Window, long) = nullptr;
  int (*put_back_event)(Display*, XEvent*) = nullptr;
  int (*flush)(Display*) = nullptr;
  ErrorHandler (*set_error_handler)(ErrorHandler) = nullptr;
  Status (*get_window_attributes)(Display*, Window, XWindowAttributes*) = nullptr;
  GC (*create_gc)(Display*, Drawable, unsigned long, XGCValues*) = nullptr;
  int (*free_gc)(Display*, GC) = nullptr;
  Status (*init_image)(XImage*) = nullptr;
  int (*put_image)(Display*, Drawable, GC, XImage*, int, int, int, int, unsigned, unsigned) = nullptr;
  Display* (*open_display)(const char*) = nullptr;
  int (*close_display)(Display*) = nullptr;
  char* (*resource_manager_string)(Display*) = nullptr;
  void (*xrm_initialize)() = nullptr;
  XrmDatabase (*xrm_get_string_database)(const char*) = nullptr;
  Bool (*xrm_get_resource)(XrmDatabase, const char*, const char*, char**, XrmValue*) = nullptr;
  void (*xrm_destroy_database)(XrmDatabase) = nullptr;
};

const X11Calls& x11_calls();

// The X display and window behind an SDL window; false on other video drivers.
bool x11_window_of(SDL_Window* window, Display*& display, Window& xwindow);

// The window a raw X event reports destroyed (DestroyNotify), or 0 for any other event.
Window destroyed_x11_window(const SDL_SysWMmsg* msg);

// Call before SDL_DestroyWindow on a window whose X window another client destroyed. SDL hides a
// window it believes shown before destroying it, and on X11 then waits for the server to confirm
// the unmapping. That confirmation came and went when the window was destroyed, and SDL may even
// believe the window shown again (under a window manager, its last state changes read back from
// a window that is no more look like a mapped one), so SDL would wait forever. This queues a
// stand-in confirmation at the front of SDL's event queue; if SDL does not wait, SDL passes it
// over later as an event for a window it no longer knows.
void release_destroyed_x11_window(SDL_Window* window);

}  // namespace platform::display::sdl
