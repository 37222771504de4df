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

std::optional<EditProperties> EditProperties::parse(std::span<const std::uint8_t> block) {
  PropertyReader r(block);
  const auto version = r.u32();
  if (!version || *version > kVersion) return std::nullopt;
  EditProperties p;
  const auto border = r.i32();
  const auto text_colour = r.u32();
  const auto background = r.u32();
  const auto hide_selection = r.u32();
  const auto max_length = r.i32();
  const auto multi_line = r.u32();
  const auto scroll_bars = r.i32();
  const auto alignment = r.i32();
  const auto input_mode = r.i32();
  const auto password_char = r.u16();
  const auto case_conversion = r.i32();
  const auto adjuster = r.i32();
  const auto adjuster_min = r.i32();
  const auto adjuster_max = r.i32();
  const auto selection_start = r.i32();
  const auto selection_length = r.i32();
  auto font = r.counted_bytes();
  auto content = r.counted_text();
  if (!border || !text_colour || !background || !hide_selection || !max_length || !multi_line ||
      !scroll_bars || !alignment || !input_mode || !password_char || !case_conversion || !adjuster ||
      !adjuster_min || !adjuster_max || !selection_start || !selection_length || !font || !content)
    return std::nullopt;
  if (*version >= 2) {
    auto source = r.counted_text();
    auto column = r.counted_text();
    if (!source || !column) return std::nullopt;
    p.data_source = std::move(*source);
    p.data_column = std::move(*column);
  }
  p.border = *border;
  p.text_colour = *text_colour;
  p.background = *background;
  p.hide_selection = *hide_selection != 0;
  p.max_length = *max_length;
  p.multi_line = *multi_line != 0;
  p.scroll_bars = *scroll_bars;
  p.alignment = *alignment;
  p.input_mode = *input_mode;
  p.password_char = *password_char;
  p.case_conversion = *case_conversion;
  p.adjuster = *adjuster;
  p.adjuster_min = *adjuster_min;
  p.adjuster_max = *adjuster_max;
  p.selection_start = *selection_start;
  p.selection_length = *selection_length;
  p.font = std::move(*font);
  p.content = std::move(*content);
  p.clamp();
  return p;
}

std::vector<std::uint8_t> EditProperties::serialize() const {
  lyr::ByteWriter w;
  w.u32(kVersion);
  w.i32(border);
  w.u32(text_colour);
  w.u32(background);
  w.u32(hide_selection ? 1 : 0);
  w.i32(max_length);
  w.u32(multi_line ? 1 : 0);
  w.i32(scroll_bars);
  w.i32(alignment);
  w.i32(input_mode);
  w.u16(password_char);
  w.i32(case_conversion);
  w.i32(adjuster);
  w.i32(adjuster_min);
  w.i32(adjuster_max);
  w.i32(selection_start);
  w.i32(selection_length);
  w.counted(font);
  w.counted_text(content);
  w.counted_text(data_source);
  w.counted_text(data_column);
  return w.take();
}

}  // namespace ui
