#include "ui/picture/codecs/gif_reader.h"

#include <algorithm>

#include "ui/bytes/byte_reader.h"
#include "ui/picture/codecs/gif_lzw.h"

namespace lyr::picture {
namespace {

constexpr std::size_t kMinimumSize = 14;  // header + logical screen descriptor + 1

struct GraphicControl {
  GifDisposal disposal = GifDisposal::none;
  std::optional<std::uint8_t> transparent_index;
  std::uint16_t delay_cs = 0;
};

Result<RgbPalette> read_colour_table(ByteReader& r, std::uint8_t packed) {
  const std::size_t entries = std::size_t{2} << (packed & 7);
  auto table = r.bytes(entries * 3);
  if (!table) return fail("colour table truncated");
  RgbPalette palette(entries);
  for (std::size_t i = 0; i < entries; ++i)
    palette[i] = {(*table)[i * 3], (*table)[i * 3 + 1], (*table)[i * 3 + 2]};
  return palette;
}

// Reads a chain of sub-blocks up to its zero terminator; appends the payload when asked.
Status read_sub_blocks(ByteReader& r, std::vector<std::uint8_t>* payload) {
  for (;;) {
    auto length = r.u8();
    if (!length) return fail("sub-block truncated");
    if (*length == 0) return done();
    auto block = r.bytes(*length);
    if (!block) return fail("sub-block truncated");
    if (payload) payload->insert(payload->end(), block->begin(), block->end());
  }
}

Result<GraphicControl> read_graphic_control(ByteReader& r) {
  std::vector<std::uint8_t> data;
  LYR_TRY(read_sub_blocks(r, &data));
  GraphicControl gc;
  // An extension of the wrong size carries nothing we can trust: it is ignored.
  if (data.size() != 4) return gc;
  const std::uint8_t packed = data[0];
  const int method = (packed >> 2) & 7;
  gc.disposal = method <= 3 ? static_cast<GifDisposal>(method) : GifDisposal::none;
  gc.delay_cs = static_cast<std::uint16_t>(data[1] | (data[2] << 8));
  if (packed & 1) gc.transparent_index = data[3];
  return gc;
}

// Row order of an interlaced image: every 8th row from 0, every 8th from 4, every 4th from
// 2, every 2nd from 1.
std::vector<std::uint32_t> interlaced_rows(std::uint32_t height) {
  std::vector<std::uint32_t> rows;
  rows.reserve(height);
  constexpr std::uint32_t start[4] = {0, 4, 2, 1};
  constexpr std::uint32_t step[4] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass)
    for (std::uint32_t y = start[pass]; y < height; y += step[pass]) rows.push_back(y);
  return rows;
}

Result<GifFrame> read_image(ByteReader& r, const GifAnimation& gif, const GraphicControl& gc,
                            const DecodeLimits& limits, std::uint64_t& pixel_budget) {
  auto left = r.u16();
  auto top = r.u16();
  auto width = r.u16();
  auto height = r.u16();
  auto packed = r.u8();
  if (!packed) return fail("image descriptor truncated");
  GifFrame frame;
  frame.left = *left;
  frame.top = *top;
  frame.width = *width;
  frame.height = *height;
  frame.interlaced = (*packed & 0x40) != 0;
  frame.disposal = gc.disposal;
  frame.transparent_index = gc.transparent_index;
  frame.delay_cs = gc.delay_cs;
  if (*packed & 0x80) {
    LYR_TRY_ASSIGN(frame.palette, read_colour_table(r, *packed));
  } else {
    frame.palette = gif.global_palette;
  }
  auto min_code_size = r.u8();
  if (!min_code_size) return fail("image data truncated");
  // Rejected before any table is built or data gathered.
  if (*min_code_size < 1 || *min_code_size > 8) return fail("LZW minimum code size out of range");
  std::vector<std::uint8_t> data;
  LYR_TRY(read_sub_blocks(r, &data));
  if (frame.palette.empty()) return fail("no colour table");
  const std::uint64_t pixels = std::uint64_t{*width} * *height;
  if (pixels == 0) return frame;  // an empty frame still carries its delay
  if (!checked_buffer_size(*width, *height, 8, limits)) return fail("frame too large");
  if (pixels > pixel_budget) return fail("animation too large");
  pixel_budget -= pixels;
  frame.indices.assign(static_cast<std::size_t>(pixels), frame.transparent_index.value_or(0));
  if (!frame.interlaced) {
    LYR_TRY_ASSIGN(std::size_t written, decode_gif_lzw(data, *min_code_size, frame.indices));
    (void)written;
    return frame;
  }
  std::vector<std::uint8_t> stream(frame.indices.size(), frame.transparent_index.value_or(0));
  LYR_TRY_ASSIGN(std::size_t written, decode_gif_lzw(data, *min_code_size, stream));
  (void)written;
  const auto rows = interlaced_rows(*height);
  for (std::size_t i = 0; i < rows.size(); ++i)
    std::copy_n(stream.begin() + static_cast<std::ptrdiff_t>(i * *width), *width,
                frame.indices.begin() + static_cast<std::ptrdiff_t>(std::size_t{rows[i]} * *width));
  return frame;
}

Status read_header(ByteReader& r, GifAnimation& gif, const DecodeLimits& limits) {
  auto signature = r.bytes(6);
  if (!signature) return fail("GIF header truncated");
  const auto& s = *signature;
  if (!(s[0] == 'G' && s[1] == 'I' && s[2] == 'F' && s[3] == '8' && (s[4] == '7' || s[4] == '9') &&
        s[5] == 'a'))
    return fail("not a GIF");
  auto width = r.u16();
  auto height = r.u16();
  auto packed = r.u8();
  auto background = r.u8();
  auto aspect = r.u8();
  if (!aspect) return fail("logical screen truncated");
  if (!checked_buffer_size(*width, *height, 32, limits)) return fail("logical screen empty or too large");
  gif.screen_width = *width;
  gif.screen_height = *height;
  gif.background_index = *background;
  if (*packed & 0x80) {
    LYR_TRY_ASSIGN(gif.global_palette, read_colour_table(r, *packed));
  }
  return done();
}

}  // namespace

int gif_frame_delay_ms(const GifFrame& frame) {
  return frame.delay_cs == 0 ? 50 : frame.delay_cs * 10;
}

Result<GifAnimation> decode_gif(Bytes bytes, const DecodeLimits& limits, std::size_t max_frames) {
  if (bytes.size() < kMinimumSize) return fail("too short for a GIF");
  ByteReader r(bytes);
  GifAnimation gif;
  LYR_TRY(read_header(r, gif, limits));
  const std::size_t frame_cap = std::min<std::size_t>(max_frames, limits.max_gif_frames);
  std::uint64_t pixel_budget = limits.max_animation_pixels;
  GraphicControl gc;
  // Stops at the trailer or when a damaged block ends the walk.
  auto walk = [&]() -> Status {
    while (gif.frames.size() < frame_cap) {
      auto block = r.u8();
      if (!block || *block == 0x3B || *block == 0x00) return done();
      if (*block == 0x21) {
        auto label = r.u8();
        if (!label) return fail("extension truncated");
        switch (*label) {
          case 0xF9: {
            LYR_TRY_ASSIGN(gc, read_graphic_control(r));
            break;
          }
          case 0x01:
          case 0xFE:
          case 0xFF:
            LYR_TRY(read_sub_blocks(r, nullptr));
            break;
          default:
            return fail("unknown extension");
        }
      } else if (*block == 0x2C) {
        LYR_TRY_ASSIGN(GifFrame frame, read_image(r, gif, gc, limits, pixel_budget));
        gif.frames.push_back(std::move(frame));
        gc = GraphicControl{};
      } else {
        return fail("unknown block");
      }
    }
    return done();
  };
  Status walked = walk();
  if (!walked.ok()) {
    if (gif.frames.empty()) return std::move(walked).take_error();
    // Damage after a whole frame keeps what came before it: the still picture is the first
    // frame whatever follows, and a cut-off download of an animation still shows its frames
    // instead of nothing.
    gif.complete = false;
  }
  if (gif.frames.empty()) return fail("GIF without an image");
  return gif;
}

}  // namespace lyr::picture
