#include "platform/display/sdl_x11_title.h"

#include <string>

#include "platform/display/sdl_x11_calls.h"

namespace platform::display::sdl {

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
