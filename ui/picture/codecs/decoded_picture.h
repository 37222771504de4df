// DecodedPicture: the common result of every decoder.
// Contract, pixel layout by kind:
//   jpeg, bmp  24-bit B,G,R, rows bottom-up, packed (width*3 bytes a row, no padding)
//   png        32-bit B,G,R,A (not premultiplied), rows top-down, width*4 bytes a row
//   gif, pcx8  packed 8-bit DIB: 40-byte BITMAPINFOHEADER, 256 RGBQUADs, rows padded to 4
//              bytes (gif bottom-up, pcx8 top-down with a negative biHeight)
//   pcx1       monochrome bitmap bits, rows top-down padded to 2 bytes, bit 1 = white
//   ico, cur   32-bit B,G,R,A (not premultiplied), rows top-down: the chosen entry, ready
//              to become an icon handle when the picture is rendered
// width and height are positive and within DecodeLimits. The record owns its bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "ui/picture/codecs/picture_format.h"

namespace lyr::picture {

inline constexpr std::size_t kDibHeaderSize = 40;
inline constexpr std::size_t kDibPaletteSize = 256 * 4;
inline constexpr std::size_t kPackedDibPixelsOffset = kDibHeaderSize + kDibPaletteSize;  // 1064

struct DecodedPicture {
  PictureFormat kind = PictureFormat::none;
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;
  // Cursors: the hot spot from the directory entry.
  int hotspot_x = 0;
  int hotspot_y = 0;
  // Still GIF: the palette entry that stands for "transparent" (and for the area outside
  // the first frame); rendering paints it in the background colour.
  std::optional<std::uint8_t> transparent_index;
};

}  // namespace lyr::picture
