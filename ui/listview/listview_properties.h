// The list view's persistent property set and the records inside its blobs.
// Contract:
// - ListViewProperties holds every stored property with the defaults a new list view starts
//   with. parse(block) reads a property data block: empty means the defaults; version above 1,
//   or a block that ends inside a field, gives nothing. Choice values are clamped into their
//   ranges on reading. serialize() writes version 1 in the same layout, so parse(serialize(p))
//   reproduces p.
// - Column and item blobs are sequences of records (see ColumnRecord and ItemRecord); decoding
//   stops at the first record that the blob cuts short, keeping the whole ones before it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace ui::listview {

inline constexpr std::uint32_t kPropertyVersion = 1;
inline constexpr std::uint32_t kDefaultColour = 0xFF000000;

enum View : std::int32_t { kLargeIcons = 0, kSmallIcons = 1, kList = 2, kReport = 3 };

struct ListViewProperties {
  std::int32_t border = 1;
  std::uint32_t text_colour = 0;
  std::uint32_t text_back_colour = 0xFFFFFF;
  std::uint32_t back_colour = 0xFFFFFF;
  std::int32_t view = kLargeIcons;
  std::int32_t alignment = 0;  // 0 top, 1 left
  bool auto_arrange = true;
  bool wrap_labels = true;
  bool hide_header = false;
  bool header_clickable = true;
  bool full_row_select = false;
  bool grid_lines = false;
  bool header_drag_drop = false;
  bool hot_tracking = false;
  bool hand_cursor = true;
  bool underline_hot = true;
  bool underline_cold = true;
  bool edit_labels = false;
  std::int32_t sort_order = 0;  // 0 none, 1 ascending, 2 descending
  bool check_boxes = false;
  bool flat_scroll_bars = false;
  bool single_selection = true;
  std::int32_t current_selection = -1;
  bool show_selection_always = false;
  std::vector<std::uint8_t> font;  // empty or a 60-byte LOGFONTA
  std::vector<std::uint8_t> header_images;
  std::vector<std::uint8_t> item_images;
  std::vector<std::uint8_t> columns;
  std::vector<std::uint8_t> state_images;
  std::vector<std::uint8_t> items;

  static std::optional<ListViewProperties> parse(std::span<const std::uint8_t> block);
  std::vector<std::uint8_t> serialize() const;

  bool operator==(const ListViewProperties&) const = default;
};

struct ColumnRecord {
  bool image_on_right = false;
  std::int32_t image = -1;     // index into the header images, -1 none
  std::int32_t alignment = 0;  // 0 left, 1 centred, 2 right
  std::int32_t width = 0;
  std::string title;

  bool operator==(const ColumnRecord&) const = default;
};

// A row record (sub_item false) starts a new row; a sub-item record fills the next column of
// the row before it.
struct ItemRecord {
  bool sub_item = false;
  std::int32_t image = -1;
  std::int32_t state_image = -1;
  std::int32_t indent = 0;  // rows only
  std::int32_t data = 0;    // rows only
  std::string text;
  std::string tip;  // rows only

  bool operator==(const ItemRecord&) const = default;
};

std::vector<std::uint8_t> encode_columns(std::span<const ColumnRecord> columns);
std::vector<ColumnRecord> decode_columns(std::span<const std::uint8_t> blob);
std::vector<std::uint8_t> encode_items(std::span<const ItemRecord> items);
std::vector<ItemRecord> decode_items(std::span<const std::uint8_t> blob);

}  // namespace ui::listview
