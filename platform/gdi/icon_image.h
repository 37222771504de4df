// Icons and cursors as pixels, for the display layer (real cursors, window icons) and for code
// that makes icons from ARGB pixels.
// Contract: pixels are 0xAARRGGBB words, top row first, width * height of them. Icons without
// an alpha channel come out opaque where their AND mask is 0 and transparent where it is 1
// (screen-inverting pixels become opaque black). Bad handles and bad sizes fail (false or
// nullptr); nothing is half-made.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/api/types.h"

namespace platform::gdi {

struct IconPixels {
  int width = 0;
  int height = 0;
  POINT hotspot{0, 0};
  bool is_cursor = false;
  std::vector<std::uint32_t> argb;
};

// Reads an icon's pixels, premultiplied by alpha or straight.
bool icon_pixels(HICON icon, bool premultiplied, IconPixels& out);

// Makes an icon (or cursor) from straight ARGB pixels; argb.size() must be width * height.
HICON create_icon_from_argb(std::span<const std::uint32_t> argb, int width, int height, POINT hotspot,
                            bool is_cursor);

}  // namespace platform::gdi
