// The list view's persistent property set, its property table and the records inside its blobs.
// Contract:
// - ListViewProperties holds every stored property with the defaults a new list view starts
//   with. parse(block) reads a property data block: empty means the defaults; version above 1,
//   or a block that ends inside a field, gives nothing. Choice values are clamped into their
//   ranges on reading (clamp() does the same after a write). serialize() writes version 1 in the
//   same layout, so parse(serialize(p)) reproduces p.
// - kListViewPropertyTable binds each own index to its field. Rows marked as re-creating ask for
//   a new control only while the styles they stand for exist: in the icon views, in the report
//   view, or with hot tracking on, as the row's condition says.
// - Column and item blobs are sequences of records (see ColumnRecord and ItemRecord); decoding
//   stops at the first record that the blob cuts short, keeping the whole ones before it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ui/units/property_table.h"

namespace ui::listview {

inline constexpr std::uint32_t kPropertyVersion = 1;

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
  // Brings choice values into range and a selection below -1 up to -1.
  void clamp();

  bool operator==(const ListViewProperties&) const = default;
};

// Own property indexes (property index - 8).
namespace list_view_property {
inline constexpr std::int32_t kBorder = 0;
inline constexpr std::int32_t kTextColour = 1;
inline constexpr std::int32_t kTextBackColour = 2;
inline constexpr std::int32_t kBackColour = 3;
inline constexpr std::int32_t kFont = 4;
inline constexpr std::int32_t kViewType = 5;
inline constexpr std::int32_t kAlignment = 6;
inline constexpr std::int32_t kAutoArrange = 7;
inline constexpr std::int32_t kWrapLabels = 8;
inline constexpr std::int32_t kColumns = 9;
inline constexpr std::int32_t kHideHeader = 10;
inline constexpr std::int32_t kHeaderImages = 11;
inline constexpr std::int32_t kHeaderClickable = 12;
inline constexpr std::int32_t kFullRowSelect = 13;
inline constexpr std::int32_t kGridLines = 14;
inline constexpr std::int32_t kHeaderDragDrop = 15;
inline constexpr std::int32_t kItemImages = 16;
inline constexpr std::int32_t kStateImages = 17;
inline constexpr std::int32_t kHotTracking = 18;
inline constexpr std::int32_t kHandCursor = 19;
inline constexpr std::int32_t kUnderlineHot = 20;
inline constexpr std::int32_t kUnderlineCold = 21;
inline constexpr std::int32_t kEditLabels = 22;
inline constexpr std::int32_t kSortOrder = 23;
inline constexpr std::int32_t kCheckBoxes = 24;
inline constexpr std::int32_t kFlatScrollBars = 25;
inline constexpr std::int32_t kSingleSelection = 26;
inline constexpr std::int32_t kCurrentSelection = 27;
inline constexpr std::int32_t kShowSelectionAlways = 28;
inline constexpr std::int32_t kItems = 29;
inline constexpr std::int32_t kEditedText = 30;
inline constexpr std::int32_t kCount = 31;
}  // namespace list_view_property

constexpr bool in_icon_view(const ListViewProperties& p) {
  return p.view == kLargeIcons || p.view == kSmallIcons;
}
constexpr bool in_report_view(const ListViewProperties& p) {
  return p.view == kReport;
}
constexpr bool hot_tracking_on(const ListViewProperties& p) {
  return p.hot_tracking;
}

// Colours and the current selection are read from the live control, and the text of a label
// being edited is the unit's own, outside design mode; the rest read and write their fields.
namespace list_view_rows {
namespace lp = list_view_property;
using P = ListViewProperties;
inline constexpr std::array<PropertyRow<P>, lp::kCount> kTable{{
    {lp::kBorder, &P::border, kind::kChoice},
    {lp::kTextColour, &P::text_colour, kind::kColour},
    {lp::kTextBackColour, &P::text_back_colour, kind::kBackColour},
    {lp::kBackColour, &P::back_colour, kind::kBackColour},
    {lp::kFont, &P::font, kind::kFont},
    {lp::kViewType, &P::view, kind::kChoice, true},
    {lp::kAlignment, &P::alignment, kind::kChoice, true, 0, &in_icon_view},
    {lp::kAutoArrange, &P::auto_arrange, kind::kLogical, true, 0, &in_icon_view},
    {lp::kWrapLabels, &P::wrap_labels, kind::kLogical},
    {lp::kColumns, &P::columns, kind::kListData2, true, 0, &in_report_view},
    {lp::kHideHeader, &P::hide_header, kind::kLogical},
    {lp::kHeaderImages, &P::header_images, kind::kListData1},
    {lp::kHeaderClickable, &P::header_clickable, kind::kLogical, true, 0, &in_report_view},
    {lp::kFullRowSelect, &P::full_row_select, kind::kLogical, true, 0, &in_report_view},
    {lp::kGridLines, &P::grid_lines, kind::kLogical, true, 0, &in_report_view},
    {lp::kHeaderDragDrop, &P::header_drag_drop, kind::kLogical, true, 0, &in_report_view},
    {lp::kItemImages, &P::item_images, kind::kListData1},
    {lp::kStateImages, &P::state_images, kind::kListData1},
    {lp::kHotTracking, &P::hot_tracking, kind::kLogical, true},
    {lp::kHandCursor, &P::hand_cursor, kind::kLogical, true, 0, &hot_tracking_on},
    {lp::kUnderlineHot, &P::underline_hot, kind::kLogical, true, 0, &hot_tracking_on},
    {lp::kUnderlineCold, &P::underline_cold, kind::kLogical, true, 0, &hot_tracking_on},
    {lp::kEditLabels, &P::edit_labels, kind::kLogical, true},
    {lp::kSortOrder, &P::sort_order, kind::kChoice, true},
    {lp::kCheckBoxes, &P::check_boxes, kind::kLogical, true},
    {lp::kFlatScrollBars, &P::flat_scroll_bars, kind::kLogical, true},
    {lp::kSingleSelection, &P::single_selection, kind::kLogical, true},
    {lp::kCurrentSelection, &P::current_selection, kind::kInteger},
    {lp::kShowSelectionAlways, &P::show_selection_always, kind::kLogical, true},
    {lp::kItems, &P::items, kind::kListData2},
    {lp::kEditedText, {}, kind::kText},
}};
}  // namespace list_view_rows
inline constexpr const auto& kListViewPropertyTable = list_view_rows::kTable;

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
