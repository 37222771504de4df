#include "ui/picture_box/picture_box_properties.h"

#include "ui/units/unit_values.h"

namespace ui {

std::optional<PictureBoxProperties> PictureBoxProperties::parse(std::span<const std::uint8_t> block) {
  PropertyReader in(block);
  const auto version = in.u32();
  if (!version || *version > kPictureBoxVersion) return std::nullopt;
  PictureBoxProperties p;
  const auto border = in.i32();
  const auto background = in.u32();
  const auto mode = in.i32();
  const auto play = in.u32();
  auto picture = in.counted_bytes();
  if (!border || !background || !mode || !play || !picture) return std::nullopt;
  p.border_style = *border;
  p.background = *background;
  p.mode = *mode;
  p.play_animation = *play != 0;
  p.picture = std::move(*picture);
  if (*version >= 2) {
    auto source = in.counted_text();
    auto column = in.counted_text();
    if (!source || !column) return std::nullopt;
    p.data_source = std::move(*source);
    p.data_column = std::move(*column);
  }
  return p;
}

std::vector<std::uint8_t> PictureBoxProperties::serialize() const {
  lyr::ByteWriter out;
  out.u32(kPictureBoxVersion);
  out.i32(border_style);
  out.u32(background);
  out.i32(mode);
  out.u32(play_animation ? 1 : 0);
  out.counted(picture);
  out.counted_text(data_source);
  out.counted_text(data_column);
  return out.take();
}

}  // namespace ui
