#include "ui/picture/codecs/ico_codec.h"

#include "ui/bytes/byte_reader.h"
#include "ui/picture/codecs/dib_reader.h"
#include "ui/picture/codecs/png_codec.h"

namespace lyr::picture {
namespace {

constexpr std::size_t kHeaderSize = 6;
constexpr std::size_t kEntrySize = 16;

// Icons without an alpha channel, or 32-bit ones whose alpha is all zero (written before
// alpha existed), take transparency from the AND mask.
Status apply_and_mask(std::span<const std::uint8_t> mask_bytes, const DibHeader& h,
                      std::vector<std::uint8_t>& bgra) {
  const std::uint64_t stride = dib_stride(h.width, 1);
  if (stride * h.height > mask_bytes.size()) return fail("icon AND mask missing");
  bool use_mask = h.bit_count != 32;
  if (!use_mask) {
    use_mask = true;
    for (std::size_t i = 3; i < bgra.size(); i += 4)
      if (bgra[i] != 0) {
        use_mask = false;
        break;
      }
  }
  if (!use_mask) return done();
  for (std::uint32_t row = 0; row < h.height; ++row) {
    const std::uint8_t* src = mask_bytes.data() + stride * row;
    const std::uint32_t y = h.height - 1 - row;
    for (std::uint32_t x = 0; x < h.width; ++x) {
      const bool transparent = (src[x / 8] >> (7 - x % 8)) & 1;
      bgra[(std::size_t{y} * h.width + x) * 4 + 3] = transparent ? 0 : 255;
    }
  }
  return done();
}

Result<DecodedPicture> decode_dib_entry(Bytes image, PictureFormat kind, const DecodeLimits& limits) {
  LYR_TRY_ASSIGN(DibHeader h, parse_dib_header(image, limits, DibUse::icon_image));
  if (h.top_down) return fail("icon image upside down");
  if (h.table_offset() > image.size()) return fail("icon header truncated");
  LYR_TRY_ASSIGN(DibPalette palette,
                     read_dib_palette(image.subspan(static_cast<std::size_t>(h.table_offset())), h.colours));
  const std::uint64_t xor_offset = h.table_offset() + std::uint64_t{h.colours} * 4;
  auto xor_bytes = checked_slice(image, xor_offset, dib_stride(h.width, h.bit_count) * h.height);
  if (!xor_bytes) return fail("icon colour bits missing");
  LYR_TRY_ASSIGN(std::vector<std::uint8_t> bgra, dib_to_bgra(*xor_bytes, h, palette, true));
  LYR_TRY(
      apply_and_mask(image.subspan(static_cast<std::size_t>(xor_offset + xor_bytes->size())), h, bgra));
  DecodedPicture picture;
  picture.kind = kind;
  picture.width = static_cast<int>(h.width);
  picture.height = static_cast<int>(h.height);
  picture.pixels = std::move(bgra);
  return picture;
}

Result<DecodedPicture> decode_png_entry(Bytes image, PictureFormat kind, const DecodeLimits& limits) {
  LYR_TRY_ASSIGN(BgraImage png, decode_png_bgra(image, limits));
  DecodedPicture picture;
  picture.kind = kind;
  picture.width = static_cast<int>(png.width);
  picture.height = static_cast<int>(png.height);
  picture.pixels = std::move(png.pixels);
  return picture;
}

}  // namespace

Result<IconEntry> choose_icon_entry(Bytes bytes, std::uint16_t type) {
  ByteReader r(bytes);
  auto reserved = r.u16();
  auto file_type = r.u16();
  auto count = r.u16();
  if (!count) return fail("icon header truncated");
  if (*reserved != 0 || *file_type != type || *count == 0) return fail("not an icon directory");
  // The whole directory must be present before any entry is trusted.
  if (std::uint64_t{*count} * kEntrySize > bytes.size() - kHeaderSize)
    return fail("icon directory truncated");
  IconEntry chosen;
  for (std::uint32_t i = 0; i < *count; ++i) {
    IconEntry e;
    e.index = i;
    e.width_byte = *r.u8();
    e.height_byte = *r.u8();
    e.colour_count = *r.u8();
    r.skip(1);
    e.planes_or_hotspot_x = *r.u16();
    e.bits_or_hotspot_y = *r.u16();
    e.size = *r.u32();
    e.offset = *r.u32();
    chosen = e;
    if (e.width_byte == 32 && e.colour_count > 15) break;
  }
  if (!checked_slice(bytes, chosen.offset, chosen.size)) return fail("icon image outside the file");
  if (chosen.size == 0) return fail("icon image empty");
  return chosen;
}

Result<DecodedPicture> decode_icon_entry(Bytes bytes, const IconEntry& entry, PictureFormat kind,
                                         const DecodeLimits& limits) {
  auto image = checked_slice(bytes, entry.offset, entry.size);
  if (!image) return fail("icon image outside the file");
  LYR_TRY_ASSIGN(DecodedPicture picture, has_png_signature(*image)
                                                 ? decode_png_entry(*image, kind, limits)
                                                 : decode_dib_entry(*image, kind, limits));
  if (kind == PictureFormat::cur) {
    picture.hotspot_x = entry.planes_or_hotspot_x;
    picture.hotspot_y = entry.bits_or_hotspot_y;
  }
  return picture;
}

namespace {

template <PictureFormat Kind>
struct IconFamily {
  static constexpr std::uint16_t type = Kind == PictureFormat::ico ? 1 : 2;
  static bool sniff(Bytes bytes) { return detect_format(bytes) == Kind; }
  static Result<PictureSize> size(Bytes bytes, const DecodeLimits& limits) {
    LYR_TRY_ASSIGN(DecodedPicture picture, decode(bytes, limits));
    return PictureSize{picture.width, picture.height};
  }
  static Result<DecodedPicture> decode(Bytes bytes, const DecodeLimits& limits) {
    LYR_TRY_ASSIGN(IconEntry entry, choose_icon_entry(bytes, type));
    return decode_icon_entry(bytes, entry, Kind, limits);
  }
  static bool animated(Bytes, const DecodeLimits&) { return false; }
};

template <PictureFormat Kind>
const Codec& icon_codec() {
  using F = IconFamily<Kind>;
  static const Codec codec{Kind, F::sniff, F::size, F::decode, F::animated};
  return codec;
}

}  // namespace

const Codec& ico_codec() {
  return icon_codec<PictureFormat::ico>();
}
const Codec& cur_codec() {
  return icon_codec<PictureFormat::cur>();
}

}  // namespace lyr::picture
