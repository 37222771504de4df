// Conversions between the decoders' working layout and the layouts of the picture record.
// Contract: bgra_to_bgr_bottom_up takes width*height*4 bytes of B,G,R,A rows top-down and
// returns width*height*3 bytes of B,G,R rows bottom-up (alpha dropped). The caller has
// already checked the size against the limits.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace lyr::picture {

std::vector<std::uint8_t> bgra_to_bgr_bottom_up(std::span<const std::uint8_t> bgra, std::uint32_t width,
                                                std::uint32_t height);

}  // namespace lyr::picture
