// PCX: a 128-byte header, run-length encoded rows, and for 8-bit files a 256-colour palette
// after a 0x0C marker at the very end.
#include <algorithm>
#include <array>

#include "ui/bytes/byte_reader.h"
#include "ui/picture/codecs/codec.h"
#include "ui/picture/codecs/packed_dib.h"

namespace lyr::picture {
namespace {

constexpr std::size_t kHeaderSize = 128;
constexpr std::size_t kVgaPaletteSize = 769;  // marker + 256 x RGB

struct PcxHeader {
  std::uint8_t bits = 0;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint8_t planes = 0;
  std::uint32_t scanline = 0;  // bytes per line x planes
};

Result<PcxHeader> read_header(Bytes bytes, const DecodeLimits& limits) {
  if (bytes.size() <= kHeaderSize) return fail("PCX too short");
  ByteReader r(bytes);
  const std::uint8_t manufacturer = *r.u8(), version = *r.u8(), encoding = *r.u8();
  PcxHeader h;
  h.bits = *r.u8();
  const std::uint16_t xmin = *r.u16(), ymin = *r.u16(), xmax = *r.u16(), ymax = *r.u16();
  if (manufacturer != 0x0A || encoding != 1 || version > 5) return fail("not a PCX header");
  if (xmax < xmin || ymax < ymin) return fail("PCX window inverted");
  h.width = std::uint32_t{xmax} - xmin + 1;
  h.height = std::uint32_t{ymax} - ymin + 1;
  r.seek(65);
  h.planes = *r.u8();
  const std::uint16_t bytes_per_line = *r.u16();
  // One plane only: a file of several planes keeps one colour channel (or one bit of the
  // index) per plane, and laying its planes side by side as indexes of one row would show
  // stripes of wrong colours; the picture kinds hold one palette index per pixel.
  if (h.planes != 1) return fail("PCX with several planes is not supported");
  if (h.bits != 8 && h.bits != 1) return fail("PCX variant not supported");
  if (!checked_buffer_size(h.width, h.height, 32, limits)) return fail("PCX too large");
  // A row must hold the whole width: a large width with a short line would read garbage.
  if (std::uint64_t{bytes_per_line} * 8 < std::uint64_t{h.width} * h.bits) return fail("PCX line too short");
  h.scanline = std::uint32_t{bytes_per_line} * h.planes;
  return h;
}

// Decodes height scanlines from offset 128. A run may continue into the next line: runs are
// counted over the whole image, and each line is copied out as soon as it is complete.
template <class RowSink>
Status decode_rle(Bytes bytes, const PcxHeader& h, std::size_t data_end, RowSink&& sink) {
  std::vector<std::uint8_t> line(h.scanline);
  std::size_t pos = kHeaderSize;
  std::size_t filled = 0;
  std::uint32_t row = 0;
  while (row < h.height) {
    if (pos >= data_end) return fail("PCX data truncated");
    std::uint8_t value = bytes[pos++];
    std::size_t count = 1;
    if (value > 0xC0) {
      count = value - 0xC0u;
      if (pos >= data_end) return fail("PCX data truncated");
      value = bytes[pos++];
    }
    while (count > 0 && row < h.height) {
      const std::size_t n = std::min(count, line.size() - filled);
      std::fill_n(line.begin() + static_cast<std::ptrdiff_t>(filled), n, value);
      filled += n;
      count -= n;
      if (filled == line.size()) {
        sink(row++, line);
        filled = 0;
      }
    }
  }
  return done();
}

std::array<std::array<std::uint8_t, 3>, 256> read_palette(Bytes bytes, bool& found) {
  std::array<std::array<std::uint8_t, 3>, 256> palette{};
  found = bytes.size() >= kHeaderSize + kVgaPaletteSize && bytes[bytes.size() - kVgaPaletteSize] == 0x0C;
  for (std::size_t i = 0; i < 256; ++i) {
    for (std::size_t c = 0; c < 3; ++c)
      palette[i][c] = found ? bytes[bytes.size() - 768 + i * 3 + c] : static_cast<std::uint8_t>(i);
  }
  return palette;
}

Result<DecodedPicture> decode8(Bytes bytes, const PcxHeader& h) {
  bool has_palette = false;
  // Without the trailing palette the file is shown in greys.
  const auto palette = read_palette(bytes, has_palette);
  const std::size_t data_end = has_palette ? bytes.size() - kVgaPaletteSize : bytes.size();
  PackedDib8 dib = make_packed_dib8(h.width, h.height, true, palette);
  LYR_TRY(decode_rle(bytes, h, data_end, [&](std::uint32_t row, const std::vector<std::uint8_t>& line) {
    std::copy_n(line.begin(), h.width, dib.row(row));
  }));
  DecodedPicture picture;
  picture.kind = PictureFormat::pcx8;
  picture.width = static_cast<int>(h.width);
  picture.height = static_cast<int>(h.height);
  picture.pixels = std::move(dib.bytes);
  return picture;
}

Result<DecodedPicture> decode1(Bytes bytes, const PcxHeader& h) {
  // Monochrome bitmap rows are padded to 16 bits.
  const std::size_t stride = static_cast<std::size_t>(row_stride(h.width, 1, 2));
  const std::size_t used = (h.width + 7) / 8;
  std::vector<std::uint8_t> bits(stride * h.height, 0);
  LYR_TRY(
      decode_rle(bytes, h, bytes.size(), [&](std::uint32_t row, const std::vector<std::uint8_t>& line) {
        std::copy_n(line.begin(), used, bits.begin() + static_cast<std::ptrdiff_t>(stride * row));
      }));
  DecodedPicture picture;
  picture.kind = PictureFormat::pcx1;
  picture.width = static_cast<int>(h.width);
  picture.height = static_cast<int>(h.height);
  picture.pixels = std::move(bits);
  return picture;
}

template <PictureFormat Kind>
struct PcxFamily {
  static bool sniff(Bytes bytes) { return detect_format(bytes) == Kind; }
  static Result<PcxHeader> header(Bytes bytes, const DecodeLimits& limits) {
    if (detect_format(bytes) != Kind) return fail("not this PCX variant");
    return read_header(bytes, limits);
  }
  static Result<PictureSize> size(Bytes bytes, const DecodeLimits& limits) {
    LYR_TRY_ASSIGN(PcxHeader h, header(bytes, limits));
    return PictureSize{static_cast<int>(h.width), static_cast<int>(h.height)};
  }
  static Result<DecodedPicture> decode(Bytes bytes, const DecodeLimits& limits) {
    LYR_TRY_ASSIGN(PcxHeader h, header(bytes, limits));
    return Kind == PictureFormat::pcx8 ? decode8(bytes, h) : decode1(bytes, h);
  }
  static bool animated(Bytes, const DecodeLimits&) { return false; }
};

template <PictureFormat Kind>
const Codec& pcx_codec() {
  using F = PcxFamily<Kind>;
  static const Codec codec{Kind, F::sniff, F::size, F::decode, F::animated};
  return codec;
}

}  // namespace

const Codec& pcx8_codec() {
  return pcx_codec<PictureFormat::pcx8>();
}
const Codec& pcx1_codec() {
  return pcx_codec<PictureFormat::pcx1>();
}

}  // namespace lyr::picture
