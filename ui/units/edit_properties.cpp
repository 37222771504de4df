#include "ui/units/edit_properties.h"

#include <algorithm>

namespace ui {

void EditProperties::clamp() {
  scroll_bars = clamp_choice(scroll_bars, 0, 3);
  alignment = clamp_choice(alignment, 0, 2);
  case_conversion = clamp_choice(case_conversion, 0, 2);
  adjuster = clamp_choice(adjuster, 0, 2);
  input_mode = clamp_choice(input_mode, 0, 11);
  max_length = std::max(max_length, 0);
}

namespace {

constexpr auto kFields = [](auto& p, auto&& each, std::uint32_t version) {
  return each(p.border) && each(p.text_colour) && each(p.background) && each(p.hide_selection) &&
         each(p.max_length) && each(p.multi_line) && each(p.scroll_bars) && each(p.alignment) &&
         each(p.input_mode) && each(p.password_char) && each(p.case_conversion) && each(p.adjuster) &&
         each(p.adjuster_min) && each(p.adjuster_max) && each(p.selection_start) &&
         each(p.selection_length) && each(p.font) && each(p.content) &&
         (version < 2 || (each(p.data_source) && each(p.data_column)));
};

}  // namespace

std::optional<EditProperties> EditProperties::parse(std::span<const std::uint8_t> block) {
  auto p = read_block<EditProperties>(block, kVersion, kFields);
  if (p) p->clamp();
  return p;
}

std::vector<std::uint8_t> EditProperties::serialize() const {
  return write_block(*this, kVersion, kFields);
}

}  // namespace ui
