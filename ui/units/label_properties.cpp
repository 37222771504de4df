#include "ui/units/label_properties.h"

namespace ui {

void clamp_choices(LabelProperties& p) {
  p.text_effect = clamp_choice(p.text_effect, 0, 3);
  p.border_style = clamp_choice(p.border_style, 0, kLabelPaintedFrame);
  p.picture_mode = clamp_choice(p.picture_mode, 0, 2);
  p.gradient_mode = clamp_choice(p.gradient_mode, 0, 8);
  p.alignment = clamp_choice(p.alignment, 0, 2);
  p.vertical_alignment = clamp_choice(p.vertical_alignment, 0, 2);
}

namespace {

constexpr auto kFields = [](auto& p, auto&& each, std::uint32_t version) {
  return each(p.text_effect) && each(p.frame_width) && each(p.border_style) && each(p.frame_colours) &&
         each(p.text_colour) && each(p.background) && each(p.picture_mode) && each(p.gradient_mode) &&
         each(p.gradient_colours) && each(p.alignment) && each(p.vertical_alignment) && each(p.word_wrap) &&
         each(p.font) && each(p.background_picture) && each(p.caption) &&
         (version < 2 || (each(p.data_source) && each(p.data_column)));
};

}  // namespace

std::optional<LabelProperties> LabelProperties::parse(std::span<const std::uint8_t> block) {
  auto p = read_block<LabelProperties>(block, kLabelPropertiesVersion, kFields);
  if (p) clamp_choices(*p);
  return p;
}

std::vector<std::uint8_t> LabelProperties::serialize() const {
  return write_block(*this, kLabelPropertiesVersion, kFields);
}

}  // namespace ui
