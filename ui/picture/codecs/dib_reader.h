// Reading the device-independent bitmaps inside BMP files and icon entries.
// Contract: parse_dib_header reads a BITMAPINFOHEADER (or a longer header whose first 40
// bytes are one) at the start of bytes and checks it: size at least 40, width and height
// neither 0 nor INT32_MIN and, as absolute values, within the limits (a negative height is a
// top-down bitmap; a file's negative width is its absolute value, an icon's an error), and a
// colour count no larger than
// 2^bits. A BMP file holds uncompressed 1/4/8/24/32-bit pixels; an icon image also 16-bit
// ones (5-5-5), and 16- or 32-bit ones with three colour masks (BI_BITFIELDS; the masks
// follow a 40-byte header or sit inside a longer one). read_dib_palette reads the colour
// entries. dib_to_bgra converts stored rows to 32-bit B,G,R,A top-down, alpha 255 (32-bit
// pixels keep their fourth byte in alpha_out when asked); a pixel index outside the palette,
// or rows running past the data, fail. Nothing is allocated before the size is checked
// against the limits.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/kernel/result.h"
#include "ui/picture/codecs/limits.h"

namespace lyr::picture {

inline constexpr std::uint32_t kBitmapInfoHeaderSize = 40;

// Where a bitmap is stored: a BMP file, or an icon or cursor image (whose stored height
// covers the colour and the mask rows, and which may use 16-bit and masked pixels).
enum class DibUse { bitmap_file, icon_image };

struct DibHeader {
  std::uint32_t header_size = 0;
  std::int32_t stored_width = 0;
  std::int32_t stored_height = 0;
  std::uint32_t width = 0;   // absolute
  std::uint32_t height = 0;  // absolute
  bool top_down = false;     // negative stored height
  std::uint16_t bit_count = 0;
  std::uint32_t compression = 0;
  std::uint32_t colours = 0;  // palette entries that follow the header (0 above 8 bits)
  // Red, green and blue masks of 16- and 32-bit pixels.
  std::array<std::uint32_t, 3> masks{};
  std::uint32_t mask_bytes = 0;  // colour masks stored between a 40-byte header and the palette

  // Where the palette (or, without one, the pixels of an icon image) starts.
  std::uint64_t table_offset() const { return std::uint64_t{header_size} + mask_bytes; }
};

using DibPalette = std::vector<std::array<std::uint8_t, 3>>;  // B, G, R

Result<DibHeader> parse_dib_header(std::span<const std::uint8_t> bytes, const DecodeLimits& limits,
                                   DibUse use = DibUse::bitmap_file);

Result<DibPalette> read_dib_palette(std::span<const std::uint8_t> bytes, std::uint32_t colours);

// Bytes in one stored row: padded to 4 bytes.
std::uint64_t dib_stride(std::uint32_t width, std::uint16_t bit_count);

// Converts height rows of width pixels from pixel_bytes (bottom-up unless top_down) into
// BGRA top-down. keep_alpha copies the fourth byte of 32-bit pixels.
Result<std::vector<std::uint8_t>> dib_to_bgra(std::span<const std::uint8_t> pixel_bytes,
                                              const DibHeader& header, const DibPalette& palette,
                                              bool keep_alpha);

}  // namespace lyr::picture
