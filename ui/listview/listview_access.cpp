// Property access of the list view by own index: the table stores and reads the fields; this
// brings the live control up to date after a write and answers what the control knows better.
#include "platform/api/user.h"
#include "ui/listview/listview_content.h"
#include "ui/listview/listview_unit.h"

namespace ui::listview {

int ListViewUnit::set_property(std::int32_t own_index, const PropertyPair& value) {
  namespace lp = list_view_property;
  ListViewProperties& p = properties_;
  const auto* row = ui::set_property(kListViewPropertyTable, p, own_index, value);
  if (row == nullptr) return 0;
  p.clamp();
  switch (row->own_index) {
    case lp::kBorder:
      apply_border_style(hwnd(), p.border);
      break;
    case lp::kTextColour:
    case lp::kTextBackColour:
    case lp::kBackColour:
      apply_colours();
      repaint();
      break;
    case lp::kFont:
      apply_font();
      repaint();
      break;
    case lp::kWrapLabels:
      if (in_icon_view(p)) set_style_bit(LVS_NOLABELWRAP, !p.wrap_labels);
      break;
    case lp::kHideHeader:
      if (in_report_view(p)) set_style_bit(LVS_NOCOLUMNHEADER, p.hide_header);
      break;
    case lp::kHeaderImages:
      apply_header_images();
      break;
    case lp::kItemImages:
      apply_item_images();
      apply_header_images();
      repaint();
      break;
    case lp::kStateImages:
      apply_state_images();
      repaint();
      break;
    case lp::kCurrentSelection:
      apply_selection();
      break;
    case lp::kItems:
      apply_rows();
      repaint();
      break;
    default:
      break;  // a style taken at creation, or the edited text, which is only read
  }
  return write_recreates(*row, p) ? 1 : 0;
}

int ListViewUnit::get_property(std::int32_t own_index, PropertyPair* value) {
  namespace lp = list_view_property;
  if (value == nullptr) return 0;
  auto live_colour = [&](UINT message) {
    *value = int_pair(static_cast<std::int32_t>(SendMessageA(hwnd(), message, 0, 0)));
    return 1;
  };
  if (!design_mode_) {
    switch (own_index) {
      case lp::kTextColour:
        return live_colour(LVM_GETTEXTCOLOR);
      case lp::kTextBackColour:
        return live_colour(LVM_GETTEXTBKCOLOR);
      case lp::kBackColour:
        return live_colour(LVM_GETBKCOLOR);
      case lp::kCurrentSelection:
        *value = int_pair(first_selected_row(hwnd()));
        return 1;
      default:
        break;
    }
  }
  if (own_index == lp::kEditedText) {
    *value = text_pair(edited_text_);
    return 1;
  }
  return ui::get_property(kListViewPropertyTable, properties_, own_index, value) ? 1 : 0;
}

}  // namespace ui::listview
