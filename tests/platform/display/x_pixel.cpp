#include "x_pixel.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace test_support {

unsigned long x_pixel(const std::string& id, int x, int y) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return ~0UL;
  unsigned long pixel = ~0UL;
  if (XImage* image = XGetImage(display, std::stoul(id), x, y, 1, 1, AllPlanes, ZPixmap)) {
    pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
    XDestroyImage(image);
  }
  XCloseDisplay(display);
  return pixel;
}

void x_destroy_window(const std::string& id) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return;
  XDestroyWindow(display, std::stoul(id));
  XCloseDisplay(display);
}

}  // namespace test_support
