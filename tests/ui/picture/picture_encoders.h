// Small encoders that make the test pictures: every file a test decodes is written here.
// Pixels are given top-down as 0x00RRGGBB (or 0xAARRGGBB where alpha matters) or as palette
// indices; palettes are 0x00RRGGBB.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace lyr::picture::test {

using Bytes = std::vector<std::uint8_t>;

// BMP: bits 1/4/8 take indices and a palette; 24/32 take colours. extra_gap puts unused bytes
// between the palette and the pixels (bfOffBits further on).
Bytes write_bmp_indexed(int width, int height, int bits, const std::vector<std::uint32_t>& palette,
                        const std::vector<std::uint8_t>& indices, bool top_down = false, int extra_gap = 0);
Bytes write_bmp_rgb(int width, int height, int bits, const std::vector<std::uint32_t>& rgb,
                    bool top_down = false);

// GIF
struct GifFrameLayout {
  int left = 0, top = 0, width = 0, height = 0;
  std::vector<std::uint8_t> indices;
  std::vector<std::uint32_t> local_palette;  // empty: the global one
  int delay_cs = 0;
  int disposal = 0;
  std::optional<std::uint8_t> transparent;
  bool interlaced = false;
  int min_code_size = 0;  // 0: from the palette size
};
struct GifLayout {
  int width = 0, height = 0;
  std::vector<std::uint32_t> global_palette;  // size a power of two, 2..256, or empty
  std::uint8_t background = 0;
  std::vector<GifFrameLayout> frames;
  bool loop_extension = true;
  bool trailer = true;
  bool clear_when_full = true;  // false: keep coding with a full table (deferred clear)
};
Bytes write_gif(const GifLayout& layout);
// GIF LZW data of indices (the code stream, not yet cut into sub-blocks).
Bytes gif_lzw_encode(const std::vector<std::uint8_t>& indices, int min_code_size,
                     bool clear_when_full = true);

// PCX: 8-bit with a trailing palette, or 1-bit (bits: 1 = white).
Bytes write_pcx8(int width, int height, const std::vector<std::uint8_t>& indices,
                 const std::vector<std::uint32_t>& palette, int bytes_per_line = 0);
Bytes write_pcx1(int width, int height, const std::vector<bool>& white);

// Icons: an entry is a DIB (colour bits + AND mask) or a PNG.
struct IconEntryLayout {
  int width = 0, height = 0;
  int bits = 32;                    // 1/4/8 use indices + palette, 16/24/32 use argb
  std::vector<std::uint32_t> argb;  // 16/24/32 bits (alpha used at 32)
  // 16 and 32 bits: red, green and blue masks stored after the header (BI_BITFIELDS); none:
  // 16-bit pixels are 5-5-5.
  std::vector<std::uint32_t> masks;
  std::vector<std::uint8_t> indices;  // 1/4/8 bits
  std::vector<std::uint32_t> palette;
  std::vector<bool> mask;  // true = transparent; empty: all opaque
  bool as_png = false;
  int dir_width = -1;                // the directory's width byte (default: width, 256 -> 0)
  int dir_colours = 0;               // the directory's colour-count byte
  int hotspot_x = 0, hotspot_y = 0;  // cursors
};
Bytes write_icon(const std::vector<IconEntryLayout>& entries, bool cursor = false);

// PNG (libpng) from 0xAARRGGBB pixels; JPEG (libjpeg) from 0x00RRGGBB pixels.
Bytes write_png(int width, int height, const std::vector<std::uint32_t>& argb);
Bytes write_jpeg(int width, int height, const std::vector<std::uint32_t>& rgb, int quality = 95,
                 bool progressive = false);

// Four flat quadrants, top-down: red, blue / green, light grey; colours JPEG keeps within a
// few levels away from the edges.
std::vector<std::uint32_t> quadrants(int width, int height);
// A 4x4 8-bit icon entry of one colour (0x3060F0) whose top-left pixel is masked out.
IconEntryLayout corner_masked_icon();

}  // namespace lyr::picture::test
