// GifComposer: plays the frames of a decoded GIF onto a logical-screen canvas.
// Contract: the canvas is screen_width x screen_height B,G,R,A pixels, top-down, first filled
// with the background colour given. draw(i) first disposes of the previously drawn frame
// (background: its area is cleared to the background colour; previous: the area saved before
// it was drawn is put back), saves the area frame i covers when frame i asks to be restored
// later, then draws frame i clipped to the screen, skipping its transparent pixels; indices
// beyond the frame's colour table are black. Drawing frame 0 starts the loop again from a
// clean canvas, so every pass of an endless loop looks the same.
#pragma once

#include <cstdint>
#include <vector>

#include "ui/picture/codecs/gif_reader.h"

namespace lyr::picture {

class GifComposer {
 public:
  // background is B,G,R,A packed as 0xAARRGGBB.
  GifComposer(const GifAnimation& animation, std::uint32_t background_bgra);

  const std::vector<std::uint8_t>& draw(std::size_t frame_index);
  const std::vector<std::uint8_t>& canvas() const { return canvas_; }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  struct Area {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // clipped to the screen, half-open
    bool empty() const { return x0 >= x1 || y0 >= y1; }
  };
  Area clip(const GifFrame& frame) const;
  void fill(const Area& area);
  void dispose_previous();

  const GifAnimation& animation_;
  int width_;
  int height_;
  std::uint32_t background_;
  std::vector<std::uint8_t> canvas_;
  std::vector<std::uint8_t> saved_;  // the area under the last frame, when it asked for it
  std::optional<std::size_t> previous_;
};

}  // namespace lyr::picture
