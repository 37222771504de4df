#include "ui/listview/listview_styles.h"

#include "platform/api/listview.h"
#include "platform/api/user.h"

namespace ui::listview {
namespace {

constexpr DWORD kChildClipped = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

DWORD view_style(std::int32_t view) {
  switch (view) {
    case kSmallIcons:
      return LVS_SMALLICON;
    case kList:
      return LVS_LIST;
    case kReport:
      return LVS_REPORT;
    default:
      return LVS_ICON;
  }
}

}  // namespace

DWORD creation_style(const ListViewProperties& p, DWORD base) {
  DWORD style = base | kChildClipped | view_style(p.view);
  if (p.view == kLargeIcons || p.view == kSmallIcons) {
    if (p.alignment == 1) style |= LVS_ALIGNLEFT;
    if (p.auto_arrange) style |= LVS_AUTOARRANGE;
    if (!p.wrap_labels) style |= LVS_NOLABELWRAP;
  }
  if (p.view == kReport) {
    if (p.hide_header) {
      style |= LVS_NOCOLUMNHEADER;
    } else if (!p.header_clickable) {
      style |= LVS_NOSORTHEADER;
    }
  }
  if (p.edit_labels) style |= LVS_EDITLABELS;
  if (p.sort_order == 1) style |= LVS_SORTASCENDING;
  if (p.sort_order == 2) style |= LVS_SORTDESCENDING;
  if (p.single_selection) style |= LVS_SINGLESEL;
  if (p.show_selection_always) style |= LVS_SHOWSELALWAYS;
  return style;
}

DWORD extended_list_style(const ListViewProperties& p) {
  DWORD ex = LVS_EX_SUBITEMIMAGES | LVS_EX_INFOTIP;
  if (p.view == kReport) {
    if (p.header_drag_drop && !p.hide_header) ex |= LVS_EX_HEADERDRAGDROP;
    if (p.full_row_select) ex |= LVS_EX_FULLROWSELECT;
    if (p.grid_lines) ex |= LVS_EX_GRIDLINES;
  }
  if (p.hot_tracking) {
    ex |= LVS_EX_TRACKSELECT | LVS_EX_ONECLICKACTIVATE;
    if (p.underline_hot) ex |= LVS_EX_UNDERLINEHOT;
    if (p.underline_cold) ex |= LVS_EX_UNDERLINECOLD;
  }
  if (p.check_boxes) ex |= LVS_EX_CHECKBOXES;
  if (p.flat_scroll_bars) ex |= LVS_EX_FLATSB;
  return ex;
}

}  // namespace ui::listview
