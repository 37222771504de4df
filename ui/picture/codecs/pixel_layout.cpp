#include "ui/picture/codecs/pixel_layout.h"

namespace lyr::picture {

std::vector<std::uint8_t> bgra_to_bgr_bottom_up(std::span<const std::uint8_t> bgra, std::uint32_t width,
                                                std::uint32_t height) {
  std::vector<std::uint8_t> out(std::size_t{width} * height * 3);
  for (std::uint32_t y = 0; y < height; ++y) {
    const std::uint8_t* src = bgra.data() + std::size_t{y} * width * 4;
    std::uint8_t* dst = out.data() + std::size_t{height - 1 - y} * width * 3;
    for (std::uint32_t x = 0; x < width; ++x) {
      dst[x * 3] = src[x * 4];
      dst[x * 3 + 1] = src[x * 4 + 1];
      dst[x * 3 + 2] = src[x * 4 + 2];
    }
  }
  return out;
}

}  // namespace lyr::picture
