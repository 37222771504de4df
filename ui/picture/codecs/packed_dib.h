// Packed 8-bit device-independent bitmaps: a 40-byte BITMAPINFOHEADER, 256 palette entries
// and the pixel rows, padded to 4 bytes.
// Contract: make_packed_dib8 sizes the whole block through checked_buffer_size (the caller
// has already checked the limits) and fills the header; negative height means top-down rows.
// The palette is written B,G,R,0; entries beyond palette.size() are black.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace lyr::picture {

struct PackedDib8 {
  std::vector<std::uint8_t> bytes;
  std::size_t stride = 0;
  std::uint8_t* row(std::uint32_t index) { return bytes.data() + 1064 + stride * index; }
};

// palette holds R,G,B triples, as GIF and PCX store them.
PackedDib8 make_packed_dib8(std::uint32_t width, std::uint32_t height, bool top_down,
                            std::span<const std::array<std::uint8_t, 3>> rgb_palette);

}  // namespace lyr::picture
