// PNG through libpng's simplified reading interface, shared with icon entries that embed PNG.
// Contract: decode_png_bgra returns width*height*4 bytes of B,G,R,A (not premultiplied), rows
// top-down. Before libpng sees the bytes, the chunk list is walked: every chunk must lie
// inside the data, the header's width and height must be within the limits, and the number
// of chunks is capped. The libpng image structure is released on every path.
#pragma once

#include <cstdint>
#include <vector>

#include "ui/picture/codecs/codec.h"

namespace lyr::picture {

struct BgraImage {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::vector<std::uint8_t> pixels;
};

bool has_png_signature(Bytes bytes);
Result<BgraImage> decode_png_bgra(Bytes bytes, const DecodeLimits& limits);

}  // namespace lyr::picture
