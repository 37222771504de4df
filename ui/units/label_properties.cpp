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

std::optional<LabelProperties> LabelProperties::parse(std::span<const std::uint8_t> block) {
  PropertyReader r(block);
  const auto version = r.u32();
  if (!version || *version > kLabelPropertiesVersion) return std::nullopt;
  LabelProperties p;
  bool ok = r.field(p.text_effect) && r.field(p.frame_width) && r.field(p.border_style);
  for (COLORREF& c : p.frame_colours) ok = ok && r.field(c);
  ok = ok && r.field(p.text_colour) && r.field(p.background) && r.field(p.picture_mode) &&
       r.field(p.gradient_mode);
  for (COLORREF& c : p.gradient_colours) ok = ok && r.field(c);
  ok = ok && r.field(p.alignment) && r.field(p.vertical_alignment) && r.field(p.word_wrap) &&
       r.field(p.font) && r.field(p.background_picture) && r.field(p.caption);
  if (ok && *version >= 2) ok = r.field(p.data_source) && r.field(p.data_column);
  if (!ok) return std::nullopt;
  clamp_choices(p);
  return p;
}

std::vector<std::uint8_t> LabelProperties::serialize() const {
  const LabelProperties& p = *this;
  lyr::ByteWriter w;
  w.u32(kLabelPropertiesVersion);
  w.i32(p.text_effect);
  w.i32(p.frame_width);
  w.i32(p.border_style);
  for (COLORREF c : p.frame_colours) w.u32(c);
  w.u32(p.text_colour);
  w.u32(p.background);
  w.i32(p.picture_mode);
  w.i32(p.gradient_mode);
  for (COLORREF c : p.gradient_colours) w.u32(c);
  w.i32(p.alignment);
  w.i32(p.vertical_alignment);
  w.u32(p.word_wrap);
  w.counted(p.font);
  w.counted(p.background_picture);
  w.counted_text(p.caption);
  w.counted_text(p.data_source);
  w.counted_text(p.data_column);
  return w.take();
}

}  // namespace ui
