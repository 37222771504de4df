// Limits every decoder enforces before it allocates pixel memory.
// Contract: a picture wider or taller than max_dimension, or with more than max_pixels pixels,
// is rejected as no picture; buffer sizes go through checked_buffer_size, the one place where
// width x height x bytes is multiplied.
#pragma once

#include <cstdint>
#include <optional>

namespace lyr::picture {

struct DecodeLimits {
  std::uint32_t max_dimension = 32768;
  std::uint64_t max_pixels = std::uint64_t{1} << 25;  // 32 Mpx: far above any cover art
  std::uint32_t max_gif_frames = 4096;
  std::uint64_t max_animation_pixels = std::uint64_t{1} << 27;  // all frames together
  int max_jpeg_scans = 256;
};

inline const DecodeLimits& default_limits() {
  static const DecodeLimits limits;
  return limits;
}

// width x height x bytes_per_pixel (rows padded to row_align bytes), or nothing when a
// dimension is zero or the picture breaks the limits.
inline std::optional<std::uint64_t> checked_buffer_size(std::uint64_t width, std::uint64_t height,
                                                        std::uint64_t bits_per_pixel,
                                                        const DecodeLimits& limits,
                                                        std::uint64_t row_align = 1) {
  if (width == 0 || height == 0) return std::nullopt;
  if (width > limits.max_dimension || height > limits.max_dimension) return std::nullopt;
  if (width * height > limits.max_pixels) return std::nullopt;  // both <= 2^15: no overflow
  std::uint64_t row = (width * bits_per_pixel + 7) / 8;
  row = (row + row_align - 1) / row_align * row_align;
  return row * height;
}

// Bytes in a row of width pixels at bits_per_pixel, padded to row_align bytes.
inline std::uint64_t row_stride(std::uint64_t width, std::uint64_t bits_per_pixel, std::uint64_t row_align) {
  std::uint64_t row = (width * bits_per_pixel + 7) / 8;
  return (row + row_align - 1) / row_align * row_align;
}

}  // namespace lyr::picture
