// GIF files as a list of frames, for still pictures and for the animation player.
// Contract: decode_gif reads the header (more than 13 bytes, "GIF87a"/"GIF89a"), the logical
// screen and the global colour table, then walks the blocks up to the trailer (or a 0x00 block,
// or the end of the data), decoding at most max_frames images. Each frame carries its
// rectangle (possibly reaching outside the screen: composition clips it), its active colour
// table, the graphic-control values that preceded it, and width*height colour indices in
// display order (interlaced frames are de-interlaced). Graphic-control values apply to one
// image only. Pixels the data never reached hold the transparent index, or 0 without one.
// A damaged block before the first frame is an error; after it, the frames read so far are
// returned with complete = false. Limits: the screen and every frame within DecodeLimits,
// all frames together within max_animation_pixels.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "ui/picture/codecs/codec.h"

namespace lyr::picture {

using RgbPalette = std::vector<std::array<std::uint8_t, 3>>;  // R, G, B

enum class GifDisposal : std::uint8_t {
  none = 0,        // unspecified: leave the frame in place
  keep = 1,        // leave the frame in place
  background = 2,  // clear the frame's area to the background
  previous = 3,    // restore what was there before the frame
};

struct GifFrame {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool interlaced = false;
  GifDisposal disposal = GifDisposal::none;
  std::optional<std::uint8_t> transparent_index;
  std::uint16_t delay_cs = 0;  // hundredths of a second, as stored
  RgbPalette palette;
  std::vector<std::uint8_t> indices;
};

struct GifAnimation {
  int screen_width = 0;
  int screen_height = 0;
  std::uint8_t background_index = 0;
  RgbPalette global_palette;
  std::vector<GifFrame> frames;
  bool complete = true;
};

Result<GifAnimation> decode_gif(Bytes bytes, const DecodeLimits& limits, std::size_t max_frames);

// The time a frame stays on screen: delay x 10 ms, and 50 ms for a delay of 0.
int gif_frame_delay_ms(const GifFrame& frame);

}  // namespace lyr::picture
