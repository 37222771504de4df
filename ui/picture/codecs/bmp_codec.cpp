// BMP: a 14-byte file header, then an uncompressed device-independent bitmap.
#include "ui/bytes/byte_reader.h"
#include "ui/picture/codecs/codec.h"
#include "ui/picture/codecs/dib_reader.h"
#include "ui/picture/codecs/pixel_layout.h"

namespace lyr::picture {
namespace {

constexpr std::size_t kFileHeaderSize = 14;

struct BmpLayout {
  DibHeader header;
  std::uint32_t pixel_offset = 0;
};

Result<BmpLayout> read_layout(Bytes bytes, const DecodeLimits& limits) {
  ByteReader r(bytes);
  if (!r.skip(10)) return fail("file header truncated");
  auto off_bits = r.u32();
  if (!off_bits) return fail("file header truncated");
  LYR_TRY_ASSIGN(DibHeader header, parse_dib_header(bytes.subspan(kFileHeaderSize), limits));
  // Header and palette must end at or before the pixels.
  const std::uint64_t palette_end =
      kFileHeaderSize + std::uint64_t{header.header_size} + std::uint64_t{header.colours} * 4;
  if (palette_end > *off_bits) return fail("header and palette overlap the pixels");
  if (*off_bits > bytes.size()) return fail("pixel offset past the end");
  return BmpLayout{header, *off_bits};
}

bool sniff(Bytes bytes) {
  return detect_format(bytes) == PictureFormat::bmp;
}

Result<PictureSize> size(Bytes bytes, const DecodeLimits& limits) {
  if (bytes.size() < kFileHeaderSize) return fail("file header truncated");
  LYR_TRY_ASSIGN(BmpLayout layout, read_layout(bytes, limits));
  return PictureSize{static_cast<int>(layout.header.width), static_cast<int>(layout.header.height)};
}

Result<DecodedPicture> decode(Bytes bytes, const DecodeLimits& limits) {
  if (bytes.size() < kFileHeaderSize) return fail("file header truncated");
  LYR_TRY_ASSIGN(BmpLayout layout, read_layout(bytes, limits));
  const DibHeader& h = layout.header;
  LYR_TRY_ASSIGN(DibPalette palette,
                     read_dib_palette(bytes.subspan(kFileHeaderSize + h.header_size), h.colours));
  LYR_TRY_ASSIGN(std::vector<std::uint8_t> bgra,
                     dib_to_bgra(bytes.subspan(layout.pixel_offset), h, palette, false));
  DecodedPicture picture;
  picture.kind = PictureFormat::bmp;
  picture.width = static_cast<int>(h.width);
  picture.height = static_cast<int>(h.height);
  picture.pixels = bgra_to_bgr_bottom_up(bgra, h.width, h.height);
  return picture;
}

bool animated(Bytes, const DecodeLimits&) {
  return false;
}

}  // namespace

const Codec& bmp_codec() {
  static const Codec codec{PictureFormat::bmp, sniff, size, decode, animated};
  return codec;
}

}  // namespace lyr::picture
