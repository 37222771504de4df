#include "ui/listview/listview_properties.h"

#include <algorithm>
#include <array>

#include "ui/bytes/byte_reader.h"
#include "ui/bytes/byte_writer.h"

namespace ui::listview {
namespace {

using lyr::ByteWriter;

// The integers of the block in their stored order, each bound to its field.
template <class Properties, class Visit>
void each_integer(Properties& p, Visit&& visit) {
  visit(p.border);
  visit(p.text_colour);
  visit(p.text_back_colour);
  visit(p.back_colour);
  visit(p.view);
  visit(p.alignment);
  visit(p.auto_arrange);
  visit(p.wrap_labels);
  visit(p.hide_header);
  visit(p.header_clickable);
  visit(p.full_row_select);
  visit(p.grid_lines);
  visit(p.header_drag_drop);
  visit(p.hot_tracking);
  visit(p.hand_cursor);
  visit(p.underline_hot);
  visit(p.underline_cold);
  visit(p.edit_labels);
  visit(p.sort_order);
  visit(p.check_boxes);
  visit(p.flat_scroll_bars);
  visit(p.single_selection);
  visit(p.current_selection);
  visit(p.show_selection_always);
}

template <class Properties, class Visit>
void each_blob(Properties& p, Visit&& visit) {
  visit(p.font);
  visit(p.header_images);
  visit(p.item_images);
  visit(p.columns);
  visit(p.state_images);
  visit(p.items);
}

void store(bool& field, std::uint32_t v) {
  field = v != 0;
}
void store(std::int32_t& field, std::uint32_t v) {
  field = static_cast<std::int32_t>(v);
}
void store(std::uint32_t& field, std::uint32_t v) {
  field = v;
}

std::uint32_t word_of(bool v) {
  return v ? 1u : 0u;
}
std::uint32_t word_of(std::int32_t v) {
  return static_cast<std::uint32_t>(v);
}
std::uint32_t word_of(std::uint32_t v) {
  return v;
}

std::optional<std::int32_t> flag_and_int(lyr::ByteReader& r, bool* flag) {
  auto first = r.bytes(1);
  if (!first) return std::nullopt;
  *flag = (*first)[0] != 0;
  return r.i32();
}

}  // namespace

std::optional<ListViewProperties> ListViewProperties::parse(std::span<const std::uint8_t> block) {
  ListViewProperties p;
  if (block.empty()) return p;
  lyr::ByteReader r(block);
  auto version = r.u32();
  if (!version || *version > kPropertyVersion) return std::nullopt;
  bool complete = true;
  each_integer(p, [&](auto& field) {
    auto v = complete ? r.u32() : std::nullopt;
    if (!v) {
      complete = false;
      return;
    }
    store(field, *v);
  });
  each_blob(p, [&](std::vector<std::uint8_t>& field) {
    auto length = complete ? r.u32() : std::nullopt;
    auto bytes = length ? r.bytes(*length) : std::nullopt;
    if (!bytes) {
      complete = false;
      return;
    }
    field.assign(bytes->begin(), bytes->end());
  });
  if (!complete) return std::nullopt;
  p.border = std::clamp(p.border, 0, 5);
  p.view = std::clamp(p.view, 0, 3);
  p.alignment = std::clamp(p.alignment, 0, 1);
  p.sort_order = std::clamp(p.sort_order, 0, 2);
  p.current_selection = std::max(p.current_selection, -1);
  return p;
}

std::vector<std::uint8_t> ListViewProperties::serialize() const {
  ByteWriter w;
  w.u32(kPropertyVersion);
  each_integer(*this, [&](const auto& field) { w.u32(word_of(field)); });
  each_blob(*this, [&](const std::vector<std::uint8_t>& field) { w.counted(field); });
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
