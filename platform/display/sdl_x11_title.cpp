#include "platform/display/sdl_x11_title.h"

#include <cstdio>
#include <string>

// The X11 part of the window-manager info is only declared when this is set.
#ifndef SDL_VIDEO_DRIVER_X11
#define SDL_VIDEO_DRIVER_X11 1
#endif
#include <SDL_syswm.h>

namespace platform::display::sdl {
namespace {

using InternAtomFn = Atom (*)(Display*, const char*, Bool);
using ChangePropertyFn = int (*)(Display*, Window, Atom, Atom, int, int, const unsigned char*, int);
using FlushFn = int (*)(Display*);
using ErrorHandler = int (*)(Display*, XErrorEvent*);
using SetErrorHandlerFn = ErrorHandler (*)(ErrorHandler);

struct X11 {
  InternAtomFn intern_atom = nullptr;
  ChangePropertyFn change_property = nullptr;
  FlushFn flush = nullptr;
  SetErrorHandlerFn set_error_handler = nullptr;
};

// libX11 is already loaded by SDL's X11 driver; this only looks the functions up.
const X11& x11() {
  static const X11 fns = [] {
    X11 f;
    void* lib = SDL_LoadObject("libX11.so.6");
    if (!lib) return f;
    f.intern_atom = reinterpret_cast<InternAtomFn>(SDL_LoadFunction(lib, "XInternAtom"));
    f.change_property = reinterpret_cast<ChangePropertyFn>(SDL_LoadFunction(lib, "XChangeProperty"));
    f.flush = reinterpret_cast<FlushFn>(SDL_LoadFunction(lib, "XFlush"));
    f.set_error_handler = reinterpret_cast<SetErrorHandlerFn>(SDL_LoadFunction(lib, "XSetErrorHandler"));
    return f;
  }();
  return fns;
}

// Requests about a window that the server has already destroyed (a pop-up closed while an event
// for it was under way) come back as asynchronous errors; the default handler ends the process.
int note_x11_error(Display*, XErrorEvent* e) {
  std::fprintf(stderr, "X11: request %d failed with error %d (resource 0x%lx); ignored\n",
               static_cast<int>(e->request_code), static_cast<int>(e->error_code), e->resourceid);
  return 0;
}

}  // namespace

void tolerate_x11_errors() {
  if (std::string_view(SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "") != "x11") return;
  const X11& f = x11();
  if (f.set_error_handler) f.set_error_handler(&note_x11_error);
}

void fix_x11_window_name(SDL_Window* window, std::string_view utf8) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
  const X11& f = x11();
  if (!f.intern_atom || !f.change_property || !f.flush) return;
  Display* dpy = info.info.x11.display;
  Atom utf8_string = f.intern_atom(dpy, "UTF8_STRING", False);
  Atom wm_name = f.intern_atom(dpy, "WM_NAME", False);
  std::string text(utf8);
  f.change_property(dpy, info.info.x11.window, wm_name, utf8_string, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
  f.flush(dpy);
}

}  // namespace platform::display::sdl
