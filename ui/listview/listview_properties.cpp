#include "ui/listview/listview_properties.h"

#include <algorithm>

#include "ui/bytes/byte_reader.h"
#include "ui/bytes/byte_writer.h"
#include "ui/units/unit_values.h"

namespace ui::listview {
namespace {

using lyr::ByteWriter;

std::optional<std::int32_t> flag_and_int(lyr::ByteReader& r, bool* flag) {
  auto first = r.bytes(1);
  if (!first) return std::nullopt;
  *flag = (*first)[0] != 0;
  return r.i32();
}

}  // namespace

void ListViewProperties::clamp() {
  border = clamp_choice(border, 0, 5);
  view = clamp_choice(view, 0, 3);
  alignment = clamp_choice(alignment, 0, 1);
  sort_order = clamp_choice(sort_order, 0, 2);
  current_selection = std::max(current_selection, -1);
}

std::optional<ListViewProperties> ListViewProperties::parse(std::span<const std::uint8_t> block) {
  ListViewProperties p;
  if (block.empty()) return p;
  PropertyReader r(block);
  const auto version = r.u32();
  if (!version || *version > kPropertyVersion) return std::nullopt;
  const bool ok = r.field(p.border) && r.field(p.text_colour) && r.field(p.text_back_colour) &&
                  r.field(p.back_colour) && r.field(p.view) && r.field(p.alignment) &&
                  r.field(p.auto_arrange) && r.field(p.wrap_labels) && r.field(p.hide_header) &&
                  r.field(p.header_clickable) && r.field(p.full_row_select) && r.field(p.grid_lines) &&
                  r.field(p.header_drag_drop) && r.field(p.hot_tracking) && r.field(p.hand_cursor) &&
                  r.field(p.underline_hot) && r.field(p.underline_cold) && r.field(p.edit_labels) &&
                  r.field(p.sort_order) && r.field(p.check_boxes) && r.field(p.flat_scroll_bars) &&
                  r.field(p.single_selection) && r.field(p.current_selection) &&
                  r.field(p.show_selection_always) && r.field(p.font) && r.field(p.header_images) &&
                  r.field(p.item_images) && r.field(p.columns) && r.field(p.state_images) && r.field(p.items);
  if (!ok) return std::nullopt;
  p.clamp();
  return p;
}

std::vector<std::uint8_t> ListViewProperties::serialize() const {
  const ListViewProperties& p = *this;
  ByteWriter w;
  w.u32(kPropertyVersion);
  w.i32(p.border);
  w.u32(p.text_colour);
  w.u32(p.text_back_colour);
  w.u32(p.back_colour);
  w.i32(p.view);
  w.i32(p.alignment);
  w.u32(p.auto_arrange);
  w.u32(p.wrap_labels);
  w.u32(p.hide_header);
  w.u32(p.header_clickable);
  w.u32(p.full_row_select);
  w.u32(p.grid_lines);
  w.u32(p.header_drag_drop);
  w.u32(p.hot_tracking);
  w.u32(p.hand_cursor);
  w.u32(p.underline_hot);
  w.u32(p.underline_cold);
  w.u32(p.edit_labels);
  w.i32(p.sort_order);
  w.u32(p.check_boxes);
  w.u32(p.flat_scroll_bars);
  w.u32(p.single_selection);
  w.i32(p.current_selection);
  w.u32(p.show_selection_always);
  w.counted(p.font);
  w.counted(p.header_images);
  w.counted(p.item_images);
  w.counted(p.columns);
  w.counted(p.state_images);
  w.counted(p.items);
  return w.take();
}

std::vector<std::uint8_t> encode_columns(std::span<const ColumnRecord> columns) {
  ByteWriter w;
  for (const ColumnRecord& c : columns) {
    w.u8(c.image_on_right ? 1 : 0);
    w.i32(c.image);
    w.i32(c.alignment);
    w.i32(c.width);
    w.c_text(c.title);
  }
  return w.take();
}

std::vector<ColumnRecord> decode_columns(std::span<const std::uint8_t> blob) {
  std::vector<ColumnRecord> out;
  lyr::ByteReader r(blob);
  while (!r.at_end()) {
    ColumnRecord c;
    auto image = flag_and_int(r, &c.image_on_right);
    auto alignment = image ? r.i32() : std::nullopt;
    auto width = alignment ? r.i32() : std::nullopt;
    auto title = width ? r.c_text() : std::nullopt;
    if (!title) break;
    c.image = *image;
    c.alignment = *alignment;
    c.width = *width;
    c.title = std::move(*title);
    out.push_back(std::move(c));
  }
  return out;
}

std::vector<std::uint8_t> encode_items(std::span<const ItemRecord> items) {
  ByteWriter w;
  for (const ItemRecord& i : items) {
    w.u8(i.sub_item ? 1 : 0);
    w.i32(i.image);
    w.i32(i.state_image);
    w.i32(i.indent);
    w.i32(i.data);
    w.c_text(i.text);
    w.c_text(i.tip);
  }
  return w.take();
}

std::vector<ItemRecord> decode_items(std::span<const std::uint8_t> blob) {
  std::vector<ItemRecord> out;
  lyr::ByteReader r(blob);
  while (!r.at_end()) {
    ItemRecord i;
    auto image = flag_and_int(r, &i.sub_item);
    auto state_image = image ? r.i32() : std::nullopt;
    auto indent = state_image ? r.i32() : std::nullopt;
    auto data = indent ? r.i32() : std::nullopt;
    auto text = data ? r.c_text() : std::nullopt;
    auto tip = text ? r.c_text() : std::nullopt;
    if (!tip) break;
    i.image = *image;
    i.state_image = *state_image;
    i.indent = *indent;
    i.data = *data;
    i.text = std::move(*text);
    i.tip = std::move(*tip);
    out.push_back(std::move(i));
  }
  return out;
}

}  // namespace ui::listview
