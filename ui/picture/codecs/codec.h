// The entry points every picture format provides, and the table that picks one.
// Contract: sniff says whether the first bytes are this format (see detect_format); size reads
// only the headers; decode produces the picture of the layout described in decoded_picture.h
// or an error, never a partial picture; animated says whether the bytes hold more than one
// frame. Every entry point takes untrusted bytes and the limits to enforce.
#pragma once

#include <cstdint>
#include <span>

#include "platform/kernel/result.h"
#include "ui/picture/codecs/decoded_picture.h"
#include "ui/picture/codecs/limits.h"

namespace lyr::picture {

using Bytes = std::span<const std::uint8_t>;

struct PictureSize {
  int width = 0;
  int height = 0;
};

struct Codec {
  PictureFormat format;
  bool (*sniff)(Bytes bytes);
  Result<PictureSize> (*size)(Bytes bytes, const DecodeLimits& limits);
  Result<DecodedPicture> (*decode)(Bytes bytes, const DecodeLimits& limits);
  bool (*animated)(Bytes bytes, const DecodeLimits& limits);
};

// The codec of a format; nullptr for PictureFormat::none.
const Codec* codec_for(PictureFormat format);

// Detects the format and decodes a still picture (the first frame of a GIF).
Result<DecodedPicture> decode_picture(Bytes bytes, const DecodeLimits& limits = default_limits());

// The per-format codecs; each lives in its own file.
const Codec& bmp_codec();
const Codec& jpeg_codec();
const Codec& png_codec();
const Codec& ico_codec();
const Codec& cur_codec();
const Codec& gif_codec();
const Codec& pcx8_codec();
const Codec& pcx1_codec();

}  // namespace lyr::picture
