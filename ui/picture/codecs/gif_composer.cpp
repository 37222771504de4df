#include "ui/picture/codecs/gif_composer.h"

#include <algorithm>
#include <cstring>

namespace lyr::picture {

GifComposer::GifComposer(const GifAnimation& animation, std::uint32_t background_bgra)
    : animation_(animation),
      width_(animation.screen_width),
      height_(animation.screen_height),
      background_(background_bgra),
      canvas_(std::size_t(width_) * height_ * 4) {
  fill(Area{0, 0, width_, height_});
}

GifComposer::Area GifComposer::clip(const GifFrame& f) const {
  return Area{std::min(f.left, width_), std::min(f.top, height_), std::min(f.left + f.width, width_),
              std::min(f.top + f.height, height_)};
}

void GifComposer::fill(const Area& a) {
  if (a.empty()) return;
  // One row built pixel by pixel, the others copied from it: large screens fill quickly.
  const std::size_t row = std::size_t(a.x1 - a.x0) * 4;
  std::uint8_t* first = &canvas_[(std::size_t(a.y0) * width_ + a.x0) * 4];
  for (std::size_t i = 0; i < row; i += 4) std::memcpy(first + i, &background_, 4);
  for (int y = a.y0 + 1; y < a.y1; ++y)
    std::memcpy(&canvas_[(std::size_t(y) * width_ + a.x0) * 4], first, row);
}

void GifComposer::dispose_previous() {
  if (!previous_) return;
  const GifFrame& prev = animation_.frames[*previous_];
  const Area a = clip(prev);
  if (prev.disposal == GifDisposal::background) {
    fill(a);
  } else if (prev.disposal == GifDisposal::previous && !a.empty()) {
    const std::size_t row = std::size_t(a.x1 - a.x0) * 4;
    for (int y = a.y0; y < a.y1; ++y)
      std::memcpy(&canvas_[(std::size_t(y) * width_ + a.x0) * 4], &saved_[std::size_t(y - a.y0) * row], row);
  }
}

const std::vector<std::uint8_t>& GifComposer::draw(std::size_t index) {
  if (index >= animation_.frames.size()) return canvas_;
  if (index == 0) {
    fill(Area{0, 0, width_, height_});
    previous_.reset();
  }
  dispose_previous();
  const GifFrame& f = animation_.frames[index];
  const Area a = clip(f);
  if (f.disposal == GifDisposal::previous && !a.empty()) {
    const std::size_t row = std::size_t(a.x1 - a.x0) * 4;
    saved_.resize(row * std::size_t(a.y1 - a.y0));
    for (int y = a.y0; y < a.y1; ++y)
      std::memcpy(&saved_[std::size_t(y - a.y0) * row], &canvas_[(std::size_t(y) * width_ + a.x0) * 4], row);
  }
  if (!f.indices.empty()) {
    for (int y = a.y0; y < a.y1; ++y) {
      const std::uint8_t* src = &f.indices[std::size_t(y - f.top) * f.width];
      for (int x = a.x0; x < a.x1; ++x) {
        const std::uint8_t index = src[x - f.left];
        if (f.transparent_index && index == *f.transparent_index) continue;
        std::uint8_t* dst = &canvas_[(std::size_t(y) * width_ + x) * 4];
        if (index < f.palette.size()) {
          dst[0] = f.palette[index][2];
          dst[1] = f.palette[index][1];
          dst[2] = f.palette[index][0];
        } else {
          dst[0] = dst[1] = dst[2] = 0;
        }
        dst[3] = 255;
      }
    }
  }
  previous_ = index;
  return canvas_;
}

}  // namespace lyr::picture
