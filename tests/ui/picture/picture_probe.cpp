#include "tests/ui/picture/picture_probe.h"

#include <stdexcept>

namespace lyr::picture::test {
namespace {

std::uint32_t pack(std::uint8_t a, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return (std::uint32_t{a} << 24) | (std::uint32_t{r} << 16) | (std::uint32_t{g} << 8) | b;
}

void check(const DecodedPicture& p, int x, int y, std::size_t need) {
  if (x < 0 || y < 0 || x >= p.width || y >= p.height || p.pixels.size() < need)
    throw std::out_of_range("pixel outside the picture");
}

}  // namespace

std::int32_t dib_height_field(const DecodedPicture& p) {
  return static_cast<std::int32_t>(p.pixels.at(8) | (p.pixels.at(9) << 8) | (p.pixels.at(10) << 16) |
                                   (std::uint32_t{p.pixels.at(11)} << 24));
}

std::uint8_t index_at(const DecodedPicture& p, int x, int y) {
  const std::size_t stride = (std::size_t(p.width) + 3) / 4 * 4;
  check(p, x, y, kPackedDibPixelsOffset + stride * p.height);
  const bool top_down = dib_height_field(p) < 0;
  const std::size_t row = top_down ? std::size_t(y) : std::size_t(p.height - 1 - y);
  return p.pixels[kPackedDibPixelsOffset + row * stride + std::size_t(x)];
}

std::uint32_t argb_at(const DecodedPicture& p, int x, int y) {
  const std::size_t w = p.width, h = p.height;
  switch (p.kind) {
    case PictureFormat::jpeg:
    case PictureFormat::bmp: {
      check(p, x, y, w * h * 3);
      const std::uint8_t* q = &p.pixels[((h - 1 - y) * w + x) * 3];
      return pack(255, q[2], q[1], q[0]);
    }
    case PictureFormat::png:
    case PictureFormat::ico:
    case PictureFormat::cur: {
      check(p, x, y, w * h * 4);
      const std::uint8_t* q = &p.pixels[(y * w + x) * 4];
      return pack(q[3], q[2], q[1], q[0]);
    }
    case PictureFormat::gif:
    case PictureFormat::pcx8: {
      const std::uint8_t i = index_at(p, x, y);
      const std::uint8_t* q = &p.pixels[kDibHeaderSize + std::size_t(i) * 4];
      return pack(255, q[2], q[1], q[0]);
    }
    case PictureFormat::pcx1: {
      const std::size_t stride = (w + 15) / 16 * 2;
      check(p, x, y, stride * h);
      const bool white = (p.pixels[y * stride + x / 8] >> (7 - x % 8)) & 1;
      return white ? 0xFFFFFFFFu : 0xFF000000u;
    }
    case PictureFormat::none:
      break;
  }
  throw std::invalid_argument("no picture");
}

}  // namespace lyr::picture::test
