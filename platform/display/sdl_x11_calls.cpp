#include "platform/display/sdl_x11_calls.h"

namespace platform::display::sdl {

const X11Calls& x11_calls() {
  static const X11Calls calls = [] {
    X11Calls c;
    void* lib = SDL_LoadObject("libX11.so.6");
    if (!lib) return c;
    c.intern_atom = reinterpret_cast<decltype(c.intern_atom)>(SDL_LoadFunction(lib, "XInternAtom"));
    c.change_property =
        reinterpret_cast<decltype(c.change_property)>(SDL_LoadFunction(lib, "XChangeProperty"));
    c.delete_property =
        reinterpret_cast<decltype(c.delete_property)>(SDL_LoadFunction(lib, "XDeleteProperty"));
    c.select_input = reinterpret_cast<decltype(c.select_input)>(SDL_LoadFunction(lib, "XSelectInput"));
    c.put_back_event = reinterpret_cast<decltype(c.put_back_event)>(SDL_LoadFunction(lib, "XPutBackEvent"));
    c.flush = reinterpret_cast<decltype(c.flush)>(SDL_LoadFunction(lib, "XFlush"));
    c.set_error_handler =
        reinterpret_cast<decltype(c.set_error_handler)>(SDL_LoadFunction(lib, "XSetErrorHandler"));
    c.get_window_attributes =
        reinterpret_cast<decltype(c.get_window_attributes)>(SDL_LoadFunction(lib, "XGetWindowAttributes"));
    c.create_gc = reinterpret_cast<decltype(c.create_gc)>(SDL_LoadFunction(lib, "XCreateGC"));
    c.free_gc = reinterpret_cast<decltype(c.free_gc)>(SDL_LoadFunction(lib, "XFreeGC"));
    c.init_image = reinterpret_cast<decltype(c.init_image)>(SDL_LoadFunction(lib, "XInitImage"));
    c.put_image = reinterpret_cast<decltype(c.put_image)>(SDL_LoadFunction(lib, "XPutImage"));
    c.open_display = reinterpret_cast<decltype(c.open_display)>(SDL_LoadFunction(lib, "XOpenDisplay"));
    c.close_display = reinterpret_cast<decltype(c.close_display)>(SDL_LoadFunction(lib, "XCloseDisplay"));
    c.resource_manager_string = reinterpret_cast<decltype(c.resource_manager_string)>(
        SDL_LoadFunction(lib, "XResourceManagerString"));
    c.xrm_initialize = reinterpret_cast<decltype(c.xrm_initialize)>(SDL_LoadFunction(lib, "XrmInitialize"));
    c.xrm_get_string_database =
        reinterpret_cast<decltype(c.xrm_get_string_database)>(SDL_LoadFunction(lib, "XrmGetStringDatabase"));
    c.xrm_get_resource =
        reinterpret_cast<decltype(c.xrm_get_resource)>(SDL_LoadFunction(lib, "XrmGetResource"));
    c.xrm_destroy_database =
        reinterpret_cast<decltype(c.xrm_destroy_database)>(SDL_LoadFunction(lib, "XrmDestroyDatabase"));
    return c;
  }();
  return calls;
}

bool x11_window_of(SDL_Window* window, Display*& display, Window& xwindow) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
  display = info.info.x11.display;
  xwindow = info.info.x11.window;
  return true;
}

Window destroyed_x11_window(const SDL_SysWMmsg* msg) {
  if (msg == nullptr || msg->subsystem != SDL_SYSWM_X11 || msg->msg.x11.event.type != DestroyNotify) return 0;
  return msg->msg.x11.event.xdestroywindow.window;
}

void release_destroyed_x11_window(SDL_Window* window) {
  Display* display = nullptr;
  Window xwindow = 0;
  const X11Calls& x = x11_calls();
  if (!x11_window_of(window, display, xwindow) || !x.put_back_event) return;
  XEvent unmapped{};
  unmapped.xunmap.type = UnmapNotify;
  unmapped.xunmap.display = display;
  unmapped.xunmap.event = xwindow;
  unmapped.xunmap.window = xwindow;
  x.put_back_event(display, &unmapped);
}

}  // namespace platform::display::sdl
