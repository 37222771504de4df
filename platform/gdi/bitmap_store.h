// Making bitmaps: device bitmaps (32-bit or monochrome) and DIB sections.
#pragma once

#include <memory>

#include "platform/gdi/objects.h"

namespace platform::gdi {

// A black (all-zero) bitmap; nullptr when the size is invalid.
std::shared_ptr<Bitmap> make_bitmap(int width, int height, bool mono);
// The 1x1 monochrome bitmap a new memory DC starts with.
std::shared_ptr<Bitmap> default_dc_bitmap();
// Pixel 0x00RRGGBB of a monochrome bitmap for a bit value.
inline std::uint32_t mono_pixel(bool white) {
  return white ? 0x00FFFFFFu : 0u;
}
inline bool mono_bit(std::uint32_t px) {
  return (px & 0x00FFFFFFu) == 0x00FFFFFFu;
}

}  // namespace platform::gdi
