#include "ui/picture/codecs/packed_dib.h"

#include "ui/picture/codecs/decoded_picture.h"
#include "ui/picture/codecs/limits.h"

namespace lyr::picture {
namespace {

void put32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace

PackedDib8 make_packed_dib8(std::uint32_t width, std::uint32_t height, bool top_down,
                            std::span<const std::array<std::uint8_t, 3>> rgb_palette) {
  PackedDib8 dib;
  dib.stride = static_cast<std::size_t>(row_stride(width, 8, 4));
  dib.bytes.assign(kPackedDibPixelsOffset + dib.stride * height, 0);
  std::uint8_t* h = dib.bytes.data();
  put32(h, kDibHeaderSize);
  put32(h + 4, width);
  put32(h + 8, top_down ? static_cast<std::uint32_t>(-static_cast<std::int64_t>(height)) : height);
  h[12] = 1;  // planes
  h[14] = 8;  // bits per pixel
  put32(h + 20, static_cast<std::uint32_t>(dib.stride * height));
  put32(h + 32, 256);  // colours used
  std::uint8_t* pal = h + kDibHeaderSize;
  for (std::size_t i = 0; i < rgb_palette.size() && i < 256; ++i) {
    pal[i * 4] = rgb_palette[i][2];
    pal[i * 4 + 1] = rgb_palette[i][1];
    pal[i * 4 + 2] = rgb_palette[i][0];
  }
  return dib;
}

}  // namespace lyr::picture
