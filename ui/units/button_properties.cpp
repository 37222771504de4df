#include "ui/units/button_properties.h"

#include "ui/units/unit_values.h"

namespace ui {
namespace {

constexpr auto kFields = [](auto& p, auto&& each, std::uint32_t) {
  return each(p.type) && each(p.horizontal_alignment) && each(p.vertical_alignment) && each(p.picture) &&
         each(p.font) && each(p.caption);
};

}  // namespace

void ButtonProperties::clamp() {
  type = clamp_choice(type, 0, 1);
  horizontal_alignment = clamp_choice(horizontal_alignment, 0, 2);
  vertical_alignment = clamp_choice(vertical_alignment, 0, 2);
}

std::optional<ButtonProperties> ButtonProperties::parse(std::span<const std::uint8_t> block) {
  auto p = read_block<ButtonProperties>(block, kVersion, kFields);
  if (p) p->clamp();
  return p;
}

std::vector<std::uint8_t> ButtonProperties::serialize() const {
  return write_block(*this, kVersion, kFields);
}

}  // namespace ui
