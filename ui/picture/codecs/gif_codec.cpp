// GIF as a still picture: the first frame on its logical screen, as a packed 8-bit bitmap.
#include <algorithm>

#include "ui/picture/codecs/gif_reader.h"
#include "ui/picture/codecs/packed_dib.h"

namespace lyr::picture {
namespace {

bool sniff(Bytes bytes) {
  return detect_format(bytes) == PictureFormat::gif;
}

Result<PictureSize> size(Bytes bytes, const DecodeLimits& limits) {
  if (bytes.size() < 14) return fail("too short for a GIF");
  const int w = bytes[6] | (bytes[7] << 8);
  const int h = bytes[8] | (bytes[9] << 8);
  if (!sniff(bytes) || !checked_buffer_size(w, h, 32, limits)) return fail("not a usable GIF");
  return PictureSize{w, h};
}

// The screen outside the first frame, and its transparent pixels, take the transparent index
// (painted in the box's background when rendered), or the background index without one.
Result<DecodedPicture> decode(Bytes bytes, const DecodeLimits& limits) {
  LYR_TRY_ASSIGN(GifAnimation gif, decode_gif(bytes, limits, 1));
  const GifFrame& f = gif.frames.front();
  const auto w = static_cast<std::uint32_t>(gif.screen_width);
  const auto h = static_cast<std::uint32_t>(gif.screen_height);
  PackedDib8 dib = make_packed_dib8(w, h, false, f.palette);
  const std::uint8_t blank = f.transparent_index.value_or(gif.background_index);
  for (std::uint32_t y = 0; y < h; ++y) std::fill_n(dib.row(y), w, blank);
  const int x1 = std::min(f.left + f.width, gif.screen_width);
  const int y1 = f.indices.empty() ? 0 : std::min(f.top + f.height, gif.screen_height);
  for (int y = f.top; y < y1; ++y) {
    std::uint8_t* dst = dib.row(h - 1 - static_cast<std::uint32_t>(y));
    const std::uint8_t* src = &f.indices[std::size_t(y - f.top) * f.width];
    for (int x = f.left; x < x1; ++x) dst[x] = src[x - f.left];
  }
  DecodedPicture picture;
  picture.kind = PictureFormat::gif;
  picture.width = gif.screen_width;
  picture.height = gif.screen_height;
  picture.pixels = std::move(dib.bytes);
  picture.transparent_index = f.transparent_index;
  return picture;
}

bool animated(Bytes bytes, const DecodeLimits& limits) {
  auto gif = decode_gif(bytes, limits, 2);
  return gif.ok() && gif.value().frames.size() > 1;
}

}  // namespace

const Codec& gif_codec() {
  static const Codec codec{PictureFormat::gif, sniff, size, decode, animated};
  return codec;
}

}  // namespace lyr::picture
