#include "ui/listview/listview_properties.h"

#include <algorithm>

#include "ui/bytes/byte_reader.h"
#include "ui/bytes/byte_writer.h"
#include "ui/units/unit_values.h"

namespace ui::listview {
namespace {

using lyr::ByteWriter;

// The block's fields in stored order, for reading and writing alike; stops at the first field
// `each` answers false for.
template <class Properties, class Each>
bool each_field(Properties& p, Each&& each) {
  return each(p.border) && each(p.text_colour) && each(p.text_back_colour) && each(p.back_colour) &&
         each(p.view) && each(p.alignment) && each(p.auto_arrange) && each(p.wrap_labels) &&
         each(p.hide_header) && each(p.header_clickable) && each(p.full_row_select) && each(p.grid_lines) &&
         each(p.header_drag_drop) && each(p.hot_tracking) && each(p.hand_cursor) && each(p.underline_hot) &&
         each(p.underline_cold) && each(p.edit_labels) && each(p.sort_order) && each(p.check_boxes) &&
         each(p.flat_scroll_bars) && each(p.single_selection) && each(p.current_selection) &&
         each(p.show_selection_always) && each(p.font) && each(p.header_images) && each(p.item_images) &&
         each(p.columns) && each(p.state_images) && each(p.items);
}

// Column and item records: a one-byte flag, then words and NUL-terminated texts.
struct RecordReader {
  lyr::ByteReader& r;
  bool operator()(bool& v) {
    auto b = r.bytes(1);
    if (b) v = (*b)[0] != 0;
    return b.has_value();
  }
  bool operator()(std::int32_t& v) {
    auto x = r.i32();
    if (x) v = *x;
    return x.has_value();
  }
  bool operator()(std::string& v) {
    auto t = r.c_text();
    if (t) v = std::move(*t);
    return t.has_value();
  }
};

struct RecordWriter {
  ByteWriter& w;
  bool operator()(bool v) {
    w.u8(v ? 1 : 0);
    return true;
  }
  bool operator()(std::int32_t v) {
    w.i32(v);
    return true;
  }
  bool operator()(const std::string& v) {
    w.c_text(v);
    return true;
  }
};

constexpr auto kColumnFields = [](auto& c, auto&& each) {
  return each(c.image_on_right) && each(c.image) && each(c.alignment) && each(c.width) && each(c.title);
};

constexpr auto kItemFields = [](auto& i, auto&& each) {
  return each(i.sub_item) && each(i.image) && each(i.state_image) && each(i.indent) && each(i.data) &&
         each(i.text) && each(i.tip);
};

template <class Record, class Fields>
std::vector<std::uint8_t> encode(std::span<const Record> records, Fields fields) {
  ByteWriter w;
  for (const Record& record : records) fields(record, RecordWriter{w});
  return w.take();
}

// Stops at the first record that the blob cuts short, keeping the whole ones before it.
template <class Record, class Fields>
std::vector<Record> decode(std::span<const std::uint8_t> blob, Fields fields) {
  std::vector<Record> out;
  lyr::ByteReader r(blob);
  while (!r.at_end()) {
    Record record;
    if (!fields(record, RecordReader{r})) break;
    out.push_back(std::move(record));
  }
  return out;
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
  if (!each_field(p, [&](auto& field) { return r.field(field); })) return std::nullopt;
  p.clamp();
  return p;
}

std::vector<std::uint8_t> ListViewProperties::serialize() const {
  PropertyWriter w;
  w.u32(kPropertyVersion);
  each_field(*this, [&](const auto& field) {
    w.field(field);
    return true;
  });
  return w.take();
}

std::vector<std::uint8_t> encode_columns(std::span<const ColumnRecord> columns) {
  return encode(columns, kColumnFields);
}

std::vector<ColumnRecord> decode_columns(std::span<const std::uint8_t> blob) {
  return decode<ColumnRecord>(blob, kColumnFields);
}

std::vector<std::uint8_t> encode_items(std::span<const ItemRecord> items) {
  return encode(items, kItemFields);
}

std::vector<ItemRecord> decode_items(std::span<const std::uint8_t> blob) {
  return decode<ItemRecord>(blob, kItemFields);
}

}  // namespace ui::listview
