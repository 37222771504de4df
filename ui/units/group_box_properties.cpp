#include "ui/units/group_box_properties.h"

namespace ui {

std::optional<GroupBoxProperties> GroupBoxProperties::parse(std::span<const std::uint8_t> block) {
  PropertyReader r(block);
  const auto version = r.u32();
  if (!version || *version > kVersion) return std::nullopt;
  const auto alignment = r.i32();
  const auto text_colour = r.u32();
  const auto background = r.u32();
  auto font = r.counted_bytes();
  auto caption = r.counted_text();
  if (!alignment || !text_colour || !background || !font || !caption) return std::nullopt;
  GroupBoxProperties p;
  p.alignment = clamp_choice(*alignment, 0, 2);
  p.text_colour = *text_colour;
  p.background = *background;
  p.font = std::move(*font);
  p.caption = std::move(*caption);
  return p;
}

std::vector<std::uint8_t> GroupBoxProperties::serialize() const {
  lyr::ByteWriter w;
  w.u32(kVersion);
  w.i32(alignment);
  w.u32(text_colour);
  w.u32(background);
  w.counted(font);
  w.counted_text(caption);
  return w.take();
}

}  // namespace ui
