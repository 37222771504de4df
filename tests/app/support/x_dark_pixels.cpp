#include "tests/app/support/x_dark_pixels.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace app_test {

int x_dark_pixels(const std::string& display_name, const std::string& id, int x, int y, int w, int h) {
  Display* display = XOpenDisplay(display_name.c_str());
  if (display == nullptr) return -1;
  int dark = -1;
  if (XImage* image = XGetImage(display, std::stoul(id), x, y, w, h, AllPlanes, ZPixmap)) {
    dark = 0;
    for (int j = 0; j < h; ++j)
      for (int i = 0; i < w; ++i) {
        const unsigned long p = XGetPixel(image, i, j);
        const unsigned long luma = (((p >> 16) & 0xFF) * 30 + ((p >> 8) & 0xFF) * 59 + (p & 0xFF) * 11) / 100;
        dark += luma < 128;
      }
    XDestroyImage(image);
  }
  XCloseDisplay(display);
  return dark;
}

}  // namespace app_test
