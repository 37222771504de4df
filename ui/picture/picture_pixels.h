// Every decoded picture as one pixel layout, ready for a 32-bit top-down device bitmap.
// Contract: to_bgra_top_down returns width*height*4 bytes of B,G,R,A, rows top-down, alpha
// 255 everywhere: pictures with alpha (PNG, icons) are blended over the background colour,
// the still GIF's transparent index is painted in it, 1-bit PCX is black (0) and white (1).
// The background is a plain COLORREF (0x00BBGGRR); the caller resolves "default".
// blend_over: for A < 255 each channel becomes A/255 x channel + (1 - A/255) x background,
// rounded; pixels with A = 255 stay; the result is opaque.
// Malformed records (pixels shorter than their layout needs) give an empty vector.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/api/types.h"
#include "ui/picture/codecs/decoded_picture.h"

namespace lyr::picture {

void blend_over(std::span<std::uint8_t> bgra, COLORREF background);

std::vector<std::uint8_t> to_bgra_top_down(const DecodedPicture& picture, COLORREF background);

}  // namespace lyr::picture
