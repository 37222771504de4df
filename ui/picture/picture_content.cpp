#include "ui/picture/picture_content.h"

#include "ui/picture/codecs/codec.h"

namespace lyr::picture {

void PictureContent::set_bytes(std::span<const std::uint8_t> bytes, bool play_animation) {
  bytes_.assign(bytes.begin(), bytes.end());
  still_.reset();
  animation_.reset();
  rendered_.reset();
  if (bytes_.empty()) return;
  if (play_animation && detect_format(bytes_) == PictureFormat::gif) {
    auto gif = decode_gif(bytes_, default_limits(), default_limits().max_gif_frames);
    if (gif.ok() && gif.value().frames.size() > 1) {
      animation_ = std::make_shared<const GifAnimation>(std::move(gif).value());
      return;
    }
  }
  auto decoded = decode_picture(bytes_);
  if (decoded.ok()) still_ = std::move(decoded).value();
}

const RenderedPicture* PictureContent::rendered(COLORREF background) {
  if (!still_) return nullptr;
  const COLORREF colour = resolve_colour(background);
  if (!rendered_ || rendered_for_ != colour) {
    rendered_.reset();
    if (auto r = render_picture(*still_, colour)) rendered_ = std::move(*r);
    rendered_for_ = colour;
  }
  return rendered_ ? &*rendered_ : nullptr;
}

}  // namespace lyr::picture
