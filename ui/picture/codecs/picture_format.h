// Picture formats and their detection from the first eight bytes of a file.
// Contract: detect_format looks at exactly bytes[0..8); fewer than eight bytes, or eight that
// match no format, give PictureFormat::none. The formats are tested in the order BMP, JPEG,
// PNG, ICO, CUR, GIF, PCX 8-bit, PCX 1-bit, so the first match wins.
#pragma once

#include <cstdint>
#include <span>

namespace lyr::picture {

// The numbers are the format codes of the decoded picture record.
enum class PictureFormat : int {
  none = 0,
  jpeg = 1,
  bmp = 2,
  ico = 3,
  cur = 4,
  gif = 5,
  pcx8 = 6,
  pcx1 = 7,
  png = 8,
};

inline constexpr std::size_t kSniffBytes = 8;

PictureFormat detect_format(std::span<const std::uint8_t> bytes);

}  // namespace lyr::picture
