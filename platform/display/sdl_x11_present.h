// Presents a window's pixels straight into the X window behind an SDL window. Through SDL's
// window surface every window would be held twice: in the window system's backing store and
// again in the shared-memory image SDL keeps per window. X reads the backing store itself.
#pragma once

#include <memory>

#include "platform/display/sdl_x11_calls.h"

namespace platform::display::sdl {

class X11Presenter {
 public:
  // Null when `window` is not an X11 window whose visual takes 32-bit xRGB words as they are
  // (24 bits deep, red in bits 16-23); SDL's window surface converts for the others. Also null,
  // with `vanished` set, when the X window no longer exists (another client destroyed it):
  // there is nothing to present on then, either way.
  static std::unique_ptr<X11Presenter> for_window(SDL_Window* window, bool& vanished);

  X11Presenter(Display* display, Window window, GC gc) : display_(display), window_(window), gc_(gc) {}
  ~X11Presenter();
  X11Presenter(const X11Presenter&) = delete;
  X11Presenter& operator=(const X11Presenter&) = delete;

  // Copies `area` of an xRGB image (`width` x `height`, rows `stride` bytes apart) to (`x`, `y`)
  // of the window; false when X refused the image.
  bool put(unsigned char* pixels, int width, int height, int stride, const SDL_Rect& area, int x, int y);

 private:
  Display* display_;
  Window window_;
  GC gc_;
};

}  // namespace platform::display::sdl
