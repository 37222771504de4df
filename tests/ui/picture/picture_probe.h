// Reads one pixel of a decoded picture in its own stored layout, as 0xAARRGGBB; top-down
// coordinates. Kept apart from the library's converters so tests check the layout itself.
#pragma once

#include <cstdint>

#include "ui/picture/codecs/decoded_picture.h"

namespace lyr::picture::test {

std::uint32_t argb_at(const DecodedPicture& picture, int x, int y);
// The palette index of a packed 8-bit picture (GIF, 8-bit PCX).
std::uint8_t index_at(const DecodedPicture& picture, int x, int y);
std::int32_t dib_height_field(const DecodedPicture& picture);

}  // namespace lyr::picture::test
