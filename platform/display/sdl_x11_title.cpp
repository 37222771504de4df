#include "platform/display/sdl_x11_title.h"

#include <cstdio>
#include <string>

#include "platform/display/sdl_x11_calls.h"

namespace platform::display::sdl {
namespace {

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
  const X11Calls& f = x11_calls();
  if (f.set_error_handler) f.set_error_handler(&note_x11_error);
}

void fix_x11_window_name(SDL_Window* window, std::string_view utf8) {
  Display* dpy = nullptr;
  Window xwindow = 0;
  const X11Calls& f = x11_calls();
  if (!x11_window_of(window, dpy, xwindow) || !f.intern_atom || !f.change_property || !f.flush) return;
  Atom utf8_string = f.intern_atom(dpy, "UTF8_STRING", False);
  Atom wm_name = f.intern_atom(dpy, "WM_NAME", False);
  std::string text(utf8);
  f.change_property(dpy, xwindow, wm_name, utf8_string, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
  f.flush(dpy);
}

}  // namespace platform::display::sdl
