// Device-independent bitmap layouts: reading a BITMAPINFO, and converting rows between the
// caller's format (1, 4, 8, 16, 24 or 32 bits, bottom-up or top-down) and 0x00RRGGBB pixels.
// Contract: parse_dib rejects unsupported or inconsistent headers (compressed data other than
// BI_BITFIELDS, zero or oversized dimensions, bad bit counts) with nullopt; the row converters
// trust a parsed format and a buffer of at least image_bytes().
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/api/gdi.h"

namespace platform::gdi {

inline constexpr int kMaxBitmapSide = 32767;
inline constexpr std::size_t kMaxBitmapPixels = std::size_t{1} << 28;

struct DibFormat {
  int width = 0;
  int height = 0;  // absolute
  bool top_down = false;
  int bpp = 0;
  std::vector<RGBQUAD> palette;
  DWORD masks[3] = {0, 0, 0};
  std::size_t header_bytes = 0;  // header + colour table or masks
  std::size_t stride() const { return ((static_cast<std::size_t>(width) * bpp + 31) / 32) * 4; }
  std::size_t image_bytes() const { return stride() * height; }
};

// `available` bounds how many bytes of the header may be read (colour table included).
std::optional<DibFormat> parse_dib(const BITMAPINFO* bmi, UINT usage,
                                   std::size_t available = static_cast<std::size_t>(-1));

bool valid_bitmap_size(long long width, long long height);

// Stored row `stored_row` (index in memory order) decoded into `out` (width pixels).
void decode_row(const DibFormat& f, const std::uint8_t* bits, int stored_row, std::uint32_t* out);
// Pixel row `in` encoded into stored row `stored_row`.
void encode_row(const DibFormat& f, const std::uint32_t* in, int stored_row, std::uint8_t* bits);
// Memory row index of image row y (0 = top).
inline int stored_row_of(const DibFormat& f, int y) {
  return f.top_down ? y : f.height - 1 - y;
}

}  // namespace platform::gdi
