// PictureContent: what a picture property holds, from its bytes to what is drawn.
// Contract: set_bytes stores the bytes as given (they read back unchanged even when they are
// no picture) and replaces whatever was decoded before. Empty bytes, or bytes that are no
// supported picture, leave no picture. A GIF with more than one frame, when play_animation is
// set, is kept as an animation (animation() for the player); every other picture is decoded
// once as a still and rendered lazily for the background colour it is painted on (rendered
// again only when that colour changes). Not thread-safe: the owning unit serialises access.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "ui/picture/codecs/decoded_picture.h"
#include "ui/picture/codecs/gif_reader.h"
#include "ui/picture/picture_render.h"

namespace lyr::picture {

class PictureContent {
 public:
  void set_bytes(std::span<const std::uint8_t> bytes, bool play_animation);
  std::span<const std::uint8_t> bytes() const { return bytes_; }

  bool has_picture() const { return still_.has_value() || animation_ != nullptr; }
  const DecodedPicture* still() const { return still_ ? &*still_ : nullptr; }
  std::shared_ptr<const GifAnimation> animation() const { return animation_; }

  // The still picture as a device bitmap or icon for this background; nullptr without one.
  const RenderedPicture* rendered(COLORREF background);

 private:
  std::vector<std::uint8_t> bytes_;
  std::optional<DecodedPicture> still_;
  std::shared_ptr<const GifAnimation> animation_;
  std::optional<RenderedPicture> rendered_;
  COLORREF rendered_for_ = 0;
};

}  // namespace lyr::picture
