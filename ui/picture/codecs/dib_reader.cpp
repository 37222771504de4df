#include "ui/picture/codecs/dib_reader.h"

#include "ui/bytes/byte_reader.h"

namespace lyr::picture {
namespace {

constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kBitfields = 3;

bool legal_bit_count(std::uint16_t bits, DibUse use) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32 ||
         (bits == 16 && use == DibUse::icon_image);
}

// The colour masks of 16- and 32-bit pixels: stored at offset 40 (after a 40-byte header, or
// inside a longer one) for BI_BITFIELDS, else the fixed 5-5-5 and 8-8-8 layouts.
Status read_masks(std::span<const std::uint8_t> bytes, DibHeader& h) {
  if (h.compression != kBitfields) {
    if (h.bit_count == 16) h.masks = {0x7C00, 0x03E0, 0x001F};
    if (h.bit_count == 32) h.masks = {0xFF0000, 0x00FF00, 0x0000FF};
    return done();
  }
  ByteReader r(bytes);
  if (!r.seek(kBitmapInfoHeaderSize)) return fail("colour masks missing");
  for (std::uint32_t& mask : h.masks) {
    auto m = r.u32();
    if (!m) return fail("colour masks missing");
    if (*m == 0) return fail("empty colour mask");
    mask = *m;
  }
  if (h.header_size == kBitmapInfoHeaderSize) h.mask_bytes = 12;
  return done();
}

// One channel of a masked pixel, scaled to 0..255.
std::uint8_t channel(std::uint32_t pixel, std::uint32_t mask) {
  const int shift = __builtin_ctz(mask);
  const std::uint64_t top = mask >> shift;
  return static_cast<std::uint8_t>(((pixel & mask) >> shift) * 255 / top);
}

}  // namespace

Result<DibHeader> parse_dib_header(std::span<const std::uint8_t> bytes, const DecodeLimits& limits,
                                   DibUse use) {
  const std::uint32_t height_divisor = use == DibUse::icon_image ? 2 : 1;
  ByteReader r(bytes);
  DibHeader h;
  auto size = r.u32();
  auto width = r.i32();
  auto height = r.i32();
  auto planes = r.u16();
  auto bits = r.u16();
  auto compression = r.u32();
  auto image_size = r.u32();
  auto xppm = r.i32();
  auto yppm = r.i32();
  auto used = r.u32();
  auto important = r.u32();
  if (!important) return fail("bitmap header truncated");
  (void)planes, (void)image_size, (void)xppm, (void)yppm;
  h.header_size = *size;
  if (h.header_size < kBitmapInfoHeaderSize) return fail("bitmap header too small");
  if (h.header_size > bytes.size()) return fail("bitmap header runs past the data");
  if (*width == 0 || *height == 0) return fail("bitmap has no pixels");
  if (*width == INT32_MIN || *height == INT32_MIN) return fail("bitmap size out of range");
  if (*width < 0 && use == DibUse::icon_image) return fail("icon width negative");
  h.stored_width = *width;
  h.stored_height = *height;
  // A bitmap file's negative width is read as its size; the rows keep their stored order.
  h.width = static_cast<std::uint32_t>(*width < 0 ? -*width : *width);
  h.top_down = *height < 0;
  h.height = static_cast<std::uint32_t>(h.top_down ? -*height : *height) / height_divisor;
  if (h.height == 0) return fail("bitmap has no pixels");
  if (!legal_bit_count(*bits, use)) return fail("illegal bit count");
  h.bit_count = *bits;
  h.compression = *compression;
  const bool masked =
      h.compression == kBitfields && use == DibUse::icon_image && (h.bit_count == 16 || h.bit_count == 32);
  if (h.compression != kRgb && !masked) return fail("compressed bitmaps are not supported");
  LYR_TRY(read_masks(bytes, h));
  if (h.bit_count <= 8) {
    std::uint32_t max_colours = 1u << h.bit_count;
    if (*used > max_colours) return fail("more colours than the bit count allows");
    h.colours = *used == 0 ? max_colours : *used;
  }
  if (!checked_buffer_size(h.width, h.height, 32, limits)) return fail("bitmap too large");
  return h;
}

Result<DibPalette> read_dib_palette(std::span<const std::uint8_t> bytes, std::uint32_t colours) {
  auto table = checked_slice(bytes, 0, std::uint64_t{colours} * 4);
  if (!table) return fail("palette runs past the data");
  DibPalette palette(colours);
  for (std::uint32_t i = 0; i < colours; ++i)
    palette[i] = {(*table)[i * 4], (*table)[i * 4 + 1], (*table)[i * 4 + 2]};
  return palette;
}

std::uint64_t dib_stride(std::uint32_t width, std::uint16_t bit_count) {
  return row_stride(width, bit_count, 4);
}

Result<std::vector<std::uint8_t>> dib_to_bgra(std::span<const std::uint8_t> pixel_bytes, const DibHeader& h,
                                              const DibPalette& palette, bool keep_alpha) {
  const std::uint64_t stride = dib_stride(h.width, h.bit_count);
  if (stride * h.height > pixel_bytes.size()) return fail("pixel data runs past the end");
  std::vector<std::uint8_t> out(std::size_t{h.width} * h.height * 4);
  const unsigned bits = h.bit_count;
  const unsigned mask = bits <= 8 ? (1u << bits) - 1 : 0;
  for (std::uint32_t row = 0; row < h.height; ++row) {
    const std::uint8_t* src = pixel_bytes.data() + stride * row;
    const std::uint32_t y = h.top_down ? row : h.height - 1 - row;
    std::uint8_t* dst = out.data() + std::size_t{y} * h.width * 4;
    for (std::uint32_t x = 0; x < h.width; ++x, dst += 4) {
      if (bits <= 8) {
        const std::uint64_t bit = std::uint64_t{x} * bits;
        const unsigned shift = 8 - bits - static_cast<unsigned>(bit % 8);
        const unsigned index = (src[bit / 8] >> shift) & mask;
        if (index >= palette.size()) return fail("pixel index beyond the palette");
        dst[0] = palette[index][0];
        dst[1] = palette[index][1];
        dst[2] = palette[index][2];
        dst[3] = 255;
      } else if (bits == 16 || h.compression == kBitfields) {
        const std::uint8_t* p = src + std::size_t{x} * (bits / 8);
        std::uint32_t v = p[0] | (std::uint32_t{p[1]} << 8);
        if (bits == 32) v |= (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
        dst[0] = channel(v, h.masks[2]);
        dst[1] = channel(v, h.masks[1]);
        dst[2] = channel(v, h.masks[0]);
        dst[3] = (bits == 32 && keep_alpha) ? p[3] : 255;
      } else {
        const std::uint8_t* p = src + std::size_t{x} * (bits / 8);
        dst[0] = p[0];
        dst[1] = p[1];
        dst[2] = p[2];
        dst[3] = (bits == 32 && keep_alpha) ? p[3] : 255;
      }
    }
  }
  return out;
}

}  // namespace lyr::picture
