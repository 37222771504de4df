#include "platform/display/sdl_x11_hints.h"

#include <X11/Xatom.h>

#include "platform/display/sdl_x11_calls.h"

namespace platform::display::sdl {
namespace {

// The Motif hints record that window managers still read for frame functions and buttons:
// flags, functions, decorations, input mode, status (the last two unused here).
constexpr long kHintFunctions = 1, kHintDecorations = 2;
constexpr long kFunctionResize = 2, kFunctionMove = 4, kFunctionMinimise = 8, kFunctionMaximise = 16,
               kFunctionClose = 32;
constexpr long kDecorBorder = 2, kDecorResizeHandle = 4, kDecorTitle = 8, kDecorMenu = 16,
               kDecorMinimise = 32, kDecorMaximise = 64;

}  // namespace

void set_x11_frame_hints(SDL_Window* window, const FrameHints& f) {
  Display* dpy = nullptr;
  Window xwindow = 0;
  const X11Calls& x = x11_calls();
  if (!x11_window_of(window, dpy, xwindow) || !x.intern_atom || !x.change_property || !x.delete_property ||
      !x.flush)
    return;
  const Atom type =
      x.intern_atom(dpy, f.dialog ? "_NET_WM_WINDOW_TYPE_DIALOG" : "_NET_WM_WINDOW_TYPE_NORMAL", False);
  x.change_property(dpy, xwindow, x.intern_atom(dpy, "_NET_WM_WINDOW_TYPE", False), XA_ATOM, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&type), 1);

  Display* owner_dpy = nullptr;
  Window owner = 0;
  if (f.owner != nullptr && x11_window_of(f.owner, owner_dpy, owner) && owner_dpy == dpy)
    x.change_property(dpy, xwindow, XA_WM_TRANSIENT_FOR, XA_WINDOW, 32, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(&owner), 1);
  else
    x.delete_property(dpy, xwindow, XA_WM_TRANSIENT_FOR);

  long functions = kFunctionMove;
  long decorations = kDecorBorder | kDecorTitle;
  if (f.resize) functions |= kFunctionResize, decorations |= kDecorResizeHandle;
  if (f.minimise) functions |= kFunctionMinimise, decorations |= kDecorMinimise;
  if (f.maximise) functions |= kFunctionMaximise, decorations |= kDecorMaximise;
  if (f.close) functions |= kFunctionClose, decorations |= kDecorMenu;
  const long hints[5] = {kHintFunctions | kHintDecorations, functions, decorations, 0, 0};
  const Atom motif = x.intern_atom(dpy, "_MOTIF_WM_HINTS", False);
  x.change_property(dpy, xwindow, motif, motif, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(hints), 5);
  x.flush(dpy);
}

void watch_x11_destruction(SDL_Window* window) {
  Display* dpy = nullptr;
  Window xwindow = 0;
  const X11Calls& x = x11_calls();
  if (!x11_window_of(window, dpy, xwindow) || !x.get_window_attributes || !x.select_input) return;
  XWindowAttributes attributes{};
  if (x.get_window_attributes(dpy, xwindow, &attributes) == 0) return;
  if ((attributes.your_event_mask & StructureNotifyMask) == 0)
    x.select_input(dpy, xwindow, attributes.your_event_mask | StructureNotifyMask);
}

}  // namespace platform::display::sdl
