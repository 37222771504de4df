#include "ui/units/button_properties.h"

#include "ui/units/unit_values.h"

namespace ui {

void ButtonProperties::clamp() {
  type = clamp_choice(type, 0, 1);
  horizontal_alignment = clamp_choice(horizontal_alignment, 0, 2);
  vertical_alignment = clamp_choice(vertical_alignment, 0, 2);
}

std::optional<ButtonProperties> ButtonProperties::parse(std::span<const std::uint8_t> block) {
  PropertyReader r(block);
  const auto version = r.u32();
  if (!version || *version > kVersion) return std::nullopt;
  const auto type = r.i32();
  const auto horizontal = r.i32();
  const auto vertical = r.i32();
  auto picture = r.counted_bytes();
  auto font = r.counted_bytes();
  auto caption = r.counted_text();
  if (!type || !horizontal || !vertical || !picture || !font || !caption) return std::nullopt;
  ButtonProperties p;
  p.type = *type;
  p.horizontal_alignment = *horizontal;
  p.vertical_alignment = *vertical;
  p.picture = std::move(*picture);
  p.font = std::move(*font);
  p.caption = std::move(*caption);
  p.clamp();
  return p;
}

std::vector<std::uint8_t> ButtonProperties::serialize() const {
  lyr::ByteWriter w;
  w.u32(kVersion);
  w.i32(type);
  w.i32(horizontal_alignment);
  w.i32(vertical_alignment);
  w.counted(picture);
  w.counted(font);
  w.counted_text(caption);
  return w.take();
}

}  // namespace ui
