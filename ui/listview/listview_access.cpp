// Property access of the list view by own index: what each write changes and whether the
// control must be re-created for it to show, and what each read answers.
#include <algorithm>

#include "platform/api/user.h"
#include "ui/listview/listview_content.h"
#include "ui/listview/listview_unit.h"

namespace ui::listview {
namespace {

bool is_icon_view(std::int32_t view) {
  return view == kLargeIcons || view == kSmallIcons;
}

void store_blob(std::vector<std::uint8_t>& field, const PropertyPair& value) {
  const std::span<const std::uint8_t> bytes = pair_bytes(value);
  field.assign(bytes.begin(), bytes.end());
}

}  // namespace

int ListViewUnit::set_property(std::int32_t own_index, const PropertyPair& value) {
  ListViewProperties& p = properties_;
  const std::int32_t v = pair_int(value);
  const bool on = v != 0;
  switch (own_index) {
    case own::kBorder:
      p.border = clamp_choice(v, 0, 5);
      apply_border_style(hwnd(), p.border);
      return 0;
    case own::kTextColour:
      p.text_colour = static_cast<std::uint32_t>(v);
      SendMessageA(hwnd(), LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(p.text_colour));
      repaint();
      return 0;
    case own::kTextBackColour:
      p.text_back_colour = static_cast<std::uint32_t>(v);
      SendMessageA(hwnd(), LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(resolve_colour(p.text_back_colour)));
      repaint();
      return 0;
    case own::kBackColour:
      p.back_colour = static_cast<std::uint32_t>(v);
      SendMessageA(hwnd(), LVM_SETBKCOLOR, 0, static_cast<LPARAM>(resolve_colour(p.back_colour)));
      repaint();
      return 0;
    case own::kFont:
      store_blob(p.font, value);
      apply_font();
      repaint();
      return 0;
    case own::kViewType:
      p.view = clamp_choice(v, 0, 3);
      return 1;
    case own::kAlignment:
      p.alignment = clamp_choice(v, 0, 1);
      return is_icon_view(p.view) ? 1 : 0;
    case own::kAutoArrange:
      p.auto_arrange = on;
      return is_icon_view(p.view) ? 1 : 0;
    case own::kWrapLabels:
      p.wrap_labels = on;
      if (is_icon_view(p.view)) set_style_bit(LVS_NOLABELWRAP, !on);
      return 0;
    case own::kColumns:
      store_blob(p.columns, value);
      return p.view == kReport ? 1 : 0;
    case own::kHideHeader:
      p.hide_header = on;
      if (p.view == kReport) set_style_bit(LVS_NOCOLUMNHEADER, on);
      return 0;
    case own::kHeaderImages:
      store_blob(p.header_images, value);
      apply_header_images();
      return 0;
    case own::kHeaderClickable:
    case own::kFullRowSelect:
    case own::kGridLines:
    case own::kHeaderDragDrop: {
      bool* fields[] = {&p.header_clickable, &p.full_row_select, &p.grid_lines, &p.header_drag_drop};
      *fields[own_index - own::kHeaderClickable] = on;
      return p.view == kReport ? 1 : 0;
    }
    case own::kItemImages:
      store_blob(p.item_images, value);
      apply_item_images();
      apply_header_images();
      repaint();
      return 0;
    case own::kStateImages:
      store_blob(p.state_images, value);
      apply_state_images();
      repaint();
      return 0;
    case own::kHotTracking:
      p.hot_tracking = on;
      return 1;
    case own::kHandCursor:
    case own::kUnderlineHot:
    case own::kUnderlineCold: {
      bool* fields[] = {&p.hand_cursor, &p.underline_hot, &p.underline_cold};
      *fields[own_index - own::kHandCursor] = on;
      return p.hot_tracking ? 1 : 0;
    }
    case own::kEditLabels:
      p.edit_labels = on;
      return 1;
    case own::kSortOrder:
      p.sort_order = clamp_choice(v, 0, 2);
      return 1;
    case own::kCheckBoxes:
      p.check_boxes = on;
      return 1;
    case own::kFlatScrollBars:
      p.flat_scroll_bars = on;
      return 1;
    case own::kSingleSelection:
      p.single_selection = on;
      return 1;
    case own::kShowSelectionAlways:
      p.show_selection_always = on;
      return 1;
    case own::kCurrentSelection:
      p.current_selection = std::max(v, -1);
      apply_selection();
      return 0;
    case own::kItems:
      store_blob(p.items, value);
      apply_rows();
      repaint();
      return 0;
    default:  // EditedText and unknown indexes
      return 0;
  }
}

int ListViewUnit::get_property(std::int32_t own_index, PropertyPair* value) {
  if (value == nullptr) return 0;
  const ListViewProperties& p = properties_;
  auto colour = [&](UINT message, std::uint32_t stored) {
    return design_mode_ ? stored : static_cast<std::uint32_t>(SendMessageA(hwnd(), message, 0, 0));
  };
  auto blob = [](const std::vector<std::uint8_t>& b) { return data_pair(b.data(), b.size()); };
  auto flag = [](bool b) { return int_pair(b ? 1 : 0); };
  switch (own_index) {
    case own::kBorder:
      *value = int_pair(p.border);
      return 1;
    case own::kTextColour:
      *value = int_pair(static_cast<std::int32_t>(colour(LVM_GETTEXTCOLOR, p.text_colour)));
      return 1;
    case own::kTextBackColour:
      *value = int_pair(static_cast<std::int32_t>(colour(LVM_GETTEXTBKCOLOR, p.text_back_colour)));
      return 1;
    case own::kBackColour:
      *value = int_pair(static_cast<std::int32_t>(colour(LVM_GETBKCOLOR, p.back_colour)));
      return 1;
    case own::kFont:
      *value = blob(p.font);
      return 1;
    case own::kViewType:
      *value = int_pair(p.view);
      return 1;
    case own::kAlignment:
      *value = int_pair(p.alignment);
      return 1;
    case own::kAutoArrange:
      *value = flag(p.auto_arrange);
      return 1;
    case own::kWrapLabels:
      *value = flag(p.wrap_labels);
      return 1;
    case own::kColumns:
      *value = blob(p.columns);
      return 1;
    case own::kHideHeader:
      *value = flag(p.hide_header);
      return 1;
    case own::kHeaderImages:
      *value = blob(p.header_images);
      return 1;
    case own::kHeaderClickable:
      *value = flag(p.header_clickable);
      return 1;
    case own::kFullRowSelect:
      *value = flag(p.full_row_select);
      return 1;
    case own::kGridLines:
      *value = flag(p.grid_lines);
      return 1;
    case own::kHeaderDragDrop:
      *value = flag(p.header_drag_drop);
      return 1;
    case own::kItemImages:
      *value = blob(p.item_images);
      return 1;
    case own::kStateImages:
      *value = blob(p.state_images);
      return 1;
    case own::kHotTracking:
      *value = flag(p.hot_tracking);
      return 1;
    case own::kHandCursor:
      *value = flag(p.hand_cursor);
      return 1;
    case own::kUnderlineHot:
      *value = flag(p.underline_hot);
      return 1;
    case own::kUnderlineCold:
      *value = flag(p.underline_cold);
      return 1;
    case own::kEditLabels:
      *value = flag(p.edit_labels);
      return 1;
    case own::kSortOrder:
      *value = int_pair(p.sort_order);
      return 1;
    case own::kCheckBoxes:
      *value = flag(p.check_boxes);
      return 1;
    case own::kFlatScrollBars:
      *value = flag(p.flat_scroll_bars);
      return 1;
    case own::kSingleSelection:
      *value = flag(p.single_selection);
      return 1;
    case own::kCurrentSelection:
      *value = int_pair(design_mode_ ? p.current_selection : first_selected_row(hwnd()));
      return 1;
    case own::kShowSelectionAlways:
      *value = flag(p.show_selection_always);
      return 1;
    case own::kItems:
      *value = blob(p.items);
      return 1;
    case own::kEditedText:
      *value = data_pair(edited_text_.c_str(), edited_text_.size());
      return 1;
    default:
      return 0;
  }
}

}  // namespace ui::listview
