#include "ui/units/group_box_properties.h"

namespace ui {
namespace {

constexpr auto kFields = [](auto& p, auto&& each, std::uint32_t) {
  return each(p.alignment) && each(p.text_colour) && each(p.background) && each(p.font) && each(p.caption);
};

}  // namespace

std::optional<GroupBoxProperties> GroupBoxProperties::parse(std::span<const std::uint8_t> block) {
  auto p = read_block<GroupBoxProperties>(block, kVersion, kFields);
  if (p) p->alignment = clamp_choice(p->alignment, 0, 2);
  return p;
}

std::vector<std::uint8_t> GroupBoxProperties::serialize() const {
  return write_block(*this, kVersion, kFields);
}

}  // namespace ui
