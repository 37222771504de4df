#include "platform/display/sdl_x11_present.h"

#include <algorithm>

namespace platform::display::sdl {
namespace {

constexpr int kBandBytes = 16 * 1024;

}  // namespace

std::unique_ptr<X11Presenter> X11Presenter::for_window(SDL_Window* window, bool& vanished) {
  vanished = false;
  const X11Calls& x = x11_calls();
  if (!x.get_window_attributes || !x.create_gc || !x.free_gc || !x.init_image || !x.put_image || !x.flush)
    return nullptr;
  Display* display = nullptr;
  Window xwindow = 0;
  if (!x11_window_of(window, display, xwindow)) return nullptr;
  XWindowAttributes attributes{};
  if (!x.get_window_attributes(display, xwindow, &attributes)) {
    vanished = true;
    return nullptr;
  }
  if (attributes.visual == nullptr) return nullptr;
  const Visual& v = *attributes.visual;
  // SDL prefers a DirectColor visual (for gamma ramps) and loads it with the identity ramp, so
  // its pixels mean what TrueColor ones do.
  const bool direct = v.c_class == TrueColor || v.c_class == DirectColor;
  if (attributes.depth != 24 || !direct || v.red_mask != 0xFF0000 || v.green_mask != 0xFF00 ||
      v.blue_mask != 0xFF)
    return nullptr;
  GC gc = x.create_gc(display, xwindow, 0, nullptr);
  if (gc == nullptr) return nullptr;
  return std::make_unique<X11Presenter>(display, xwindow, gc);
}

X11Presenter::~X11Presenter() {
  x11_calls().free_gc(display_, gc_);
}

bool X11Presenter::put(unsigned char* pixels, int width, int height, int stride, const SDL_Rect& area, int x,
                       int y) {
  const X11Calls& calls = x11_calls();
  // The image only describes the caller's pixels; X copies them out before put_image returns.
  XImage image{};
  image.width = width;
  image.height = height;
  image.format = ZPixmap;
  image.data = reinterpret_cast<char*>(pixels);
  image.byte_order = SDL_BYTEORDER == SDL_LIL_ENDIAN ? LSBFirst : MSBFirst;
  image.bitmap_unit = 32;
  image.bitmap_bit_order = image.byte_order;
  image.bitmap_pad = 32;
  image.depth = 24;
  image.bytes_per_line = stride;
  image.bits_per_pixel = 32;
  image.red_mask = 0xFF0000;
  image.green_mask = 0xFF00;
  image.blue_mask = 0xFF;
  if (!calls.init_image(&image) || area.w <= 0 || area.h <= 0) return false;
  // Rows narrower than the image are copied into a scratch buffer that Xlib keeps for good, as
  // large as the largest request: bands of a few rows keep that buffer small.
  const int band = std::max(1, kBandBytes / (area.w * 4));
  for (int row = 0; row < area.h; row += band) {
    const int rows = std::min(band, area.h - row);
    calls.put_image(display_, window_, gc_, &image, area.x, area.y + row, x, y + row,
                    static_cast<unsigned>(area.w), static_cast<unsigned>(rows));
  }
  calls.flush(display_);
  return true;
}

}  // namespace platform::display::sdl
