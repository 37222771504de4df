#include "ui/picture/picture_pixels.h"

#include "ui/picture/codecs/limits.h"

namespace lyr::picture {
namespace {

std::uint8_t mix(unsigned alpha, unsigned channel, unsigned background) {
  return static_cast<std::uint8_t>((alpha * channel + (255 - alpha) * background + 127) / 255);
}

std::vector<std::uint8_t> from_bgr_bottom_up(const DecodedPicture& p) {
  const std::size_t w = p.width, h = p.height;
  if (p.pixels.size() < w * h * 3) return {};
  std::vector<std::uint8_t> out(w * h * 4);
  for (std::size_t y = 0; y < h; ++y) {
    const std::uint8_t* src = &p.pixels[(h - 1 - y) * w * 3];
    std::uint8_t* dst = &out[y * w * 4];
    for (std::size_t x = 0; x < w; ++x) {
      dst[x * 4] = src[x * 3];
      dst[x * 4 + 1] = src[x * 3 + 1];
      dst[x * 4 + 2] = src[x * 3 + 2];
      dst[x * 4 + 3] = 255;
    }
  }
  return out;
}

std::vector<std::uint8_t> from_packed_dib8(const DecodedPicture& p, COLORREF background) {
  const std::size_t w = p.width, h = p.height;
  const std::size_t stride = static_cast<std::size_t>(row_stride(w, 8, 4));
  if (p.pixels.size() < kPackedDibPixelsOffset + stride * h) return {};
  const bool top_down = static_cast<std::int32_t>(p.pixels[8] | (p.pixels[9] << 8) | (p.pixels[10] << 16) |
                                                  (std::uint32_t{p.pixels[11]} << 24)) < 0;
  std::uint8_t palette[256][4];
  for (int i = 0; i < 256; ++i)
    for (int c = 0; c < 4; ++c) palette[i][c] = p.pixels[kDibHeaderSize + i * 4 + c];
  if (p.transparent_index) {
    palette[*p.transparent_index][0] = GetBValue(background);
    palette[*p.transparent_index][1] = GetGValue(background);
    palette[*p.transparent_index][2] = GetRValue(background);
  }
  std::vector<std::uint8_t> out(w * h * 4);
  for (std::size_t y = 0; y < h; ++y) {
    const std::uint8_t* src = &p.pixels[kPackedDibPixelsOffset + stride * (top_down ? y : h - 1 - y)];
    std::uint8_t* dst = &out[y * w * 4];
    for (std::size_t x = 0; x < w; ++x) {
      dst[x * 4] = palette[src[x]][0];
      dst[x * 4 + 1] = palette[src[x]][1];
      dst[x * 4 + 2] = palette[src[x]][2];
      dst[x * 4 + 3] = 255;
    }
  }
  return out;
}

std::vector<std::uint8_t> from_mono(const DecodedPicture& p) {
  const std::size_t w = p.width, h = p.height;
  const std::size_t stride = static_cast<std::size_t>(row_stride(w, 1, 2));
  if (p.pixels.size() < stride * h) return {};
  std::vector<std::uint8_t> out(w * h * 4, 255);
  for (std::size_t y = 0; y < h; ++y)
    for (std::size_t x = 0; x < w; ++x) {
      const bool white = (p.pixels[y * stride + x / 8] >> (7 - x % 8)) & 1;
      std::uint8_t* dst = &out[(y * w + x) * 4];
      dst[0] = dst[1] = dst[2] = white ? 255 : 0;
    }
  return out;
}

}  // namespace

void blend_over(std::span<std::uint8_t> bgra, COLORREF background) {
  const unsigned bg[3] = {GetBValue(background), GetGValue(background), GetRValue(background)};
  for (std::size_t i = 0; i + 3 < bgra.size(); i += 4) {
    const unsigned a = bgra[i + 3];
    if (a == 255) continue;
    for (int c = 0; c < 3; ++c) bgra[i + c] = mix(a, bgra[i + c], bg[c]);
    bgra[i + 3] = 255;
  }
}

std::vector<std::uint8_t> to_bgra_top_down(const DecodedPicture& p, COLORREF background) {
  if (p.width <= 0 || p.height <= 0) return {};
  switch (p.kind) {
    case PictureFormat::jpeg:
    case PictureFormat::bmp:
      return from_bgr_bottom_up(p);
    case PictureFormat::gif:
    case PictureFormat::pcx8:
      return from_packed_dib8(p, background);
    case PictureFormat::pcx1:
      return from_mono(p);
    case PictureFormat::png:
    case PictureFormat::ico:
    case PictureFormat::cur: {
      if (p.pixels.size() < std::size_t(p.width) * p.height * 4) return {};
      std::vector<std::uint8_t> out(p.pixels.begin(),
                                    p.pixels.begin() + std::ptrdiff_t(p.width) * p.height * 4);
      blend_over(out, background);
      return out;
    }
    case PictureFormat::none:
      break;
  }
  return {};
}

}  // namespace lyr::picture
