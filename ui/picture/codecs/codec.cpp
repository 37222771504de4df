#include "ui/picture/codecs/codec.h"

namespace lyr::picture {

const Codec* codec_for(PictureFormat format) {
  switch (format) {
    case PictureFormat::jpeg:
      return &jpeg_codec();
    case PictureFormat::bmp:
      return &bmp_codec();
    case PictureFormat::ico:
      return &ico_codec();
    case PictureFormat::cur:
      return &cur_codec();
    case PictureFormat::gif:
      return &gif_codec();
    case PictureFormat::pcx8:
      return &pcx8_codec();
    case PictureFormat::pcx1:
      return &pcx1_codec();
    case PictureFormat::png:
      return &png_codec();
    case PictureFormat::none:
      break;
  }
  return nullptr;
}

Result<DecodedPicture> decode_picture(Bytes bytes, const DecodeLimits& limits) {
  const Codec* codec = codec_for(detect_format(bytes));
  if (!codec) return fail("not a picture");
  return codec->decode(bytes, limits);
}

}  // namespace lyr::picture
