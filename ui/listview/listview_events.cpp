// The list view's events: notifications of its control turned into unit events, check-box
// toggles, label editing and info tips.
#include <algorithm>
#include <cstring>

#include "platform/api/input.h"
#include "platform/api/user.h"
#include "ui/listview/listview_content.h"
#include "ui/listview/listview_unit.h"

namespace ui::listview {
namespace {

namespace event {
inline constexpr std::int32_t kFocusedRow = 0;
inline constexpr std::int32_t kActivated = 1;
inline constexpr std::int32_t kColumnClick = 2;
inline constexpr std::int32_t kHotRow = 3;
inline constexpr std::int32_t kClick = 4;
inline constexpr std::int32_t kRightClick = 5;
inline constexpr std::int32_t kBeginEdit = 6;
inline constexpr std::int32_t kEndEdit = 7;
inline constexpr std::int32_t kCheckToggled = 8;
inline constexpr std::int32_t kFocusGained = -7;
inline constexpr std::int32_t kFocusLost = -8;
}  // namespace event

std::uint32_t word(int v) {
  return static_cast<std::uint32_t>(v);
}

bool rejected(const EventOutcome& outcome) {
  return outcome.result_present && outcome.result == 0;
}

}  // namespace

LRESULT ListViewUnit::handle_message(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kMsgCheckToggled) {
    const int row = static_cast<int>(wp);
    if (row < 0 || row >= static_cast<int>(SendMessageA(hwnd(), LVM_GETITEMCOUNT, 0, 0))) return 0;
    const auto state = static_cast<UINT>(
        SendMessageA(hwnd(), LVM_GETITEMSTATE, wp, static_cast<LPARAM>(LVIS_STATEIMAGEMASK)));
    raise(event::kCheckToggled, {word(row), word(static_cast<int>(state >> 12) - 1)});
    return 0;
  }
  if (msg == WM_KEYDOWN && wp == VK_SPACE && properties_.check_boxes) {
    HWND list = hwnd();
    const LRESULT result = call_previous(msg, wp, lp);
    if (!still_alive(list, this)) return result;
    const auto focused = static_cast<int>(
        SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), static_cast<LPARAM>(LVNI_FOCUSED)));
    if (focused >= 0) PostMessageA(list, kMsgCheckToggled, static_cast<WPARAM>(focused), 0);
    return result;
  }
  return call_previous(msg, wp, lp);
}

bool ListViewUnit::on_reflected(UINT msg, WPARAM, LPARAM lp, LRESULT* result) {
  if (msg != WM_NOTIFY || lp == 0) return false;
  const auto* header = reinterpret_cast<const NMHDR*>(lp);
  if (header->hwndFrom != hwnd()) return false;
  return on_notify(*header, lp, result);
}

bool ListViewUnit::on_notify(const NMHDR& header, LPARAM lp, LRESULT* result) {
  HWND list = hwnd();
  *result = 0;
  switch (header.code) {
    case LVN_ITEMCHANGED: {
      const auto* change = reinterpret_cast<const NMLISTVIEW*>(lp);
      if ((change->uNewState & LVIS_FOCUSED) && !(change->uOldState & LVIS_FOCUSED))
        raise(event::kFocusedRow);
      return true;
    }
    case LVN_ITEMACTIVATE:
      raise(event::kActivated);
      return true;
    case LVN_COLUMNCLICK:
      raise(event::kColumnClick, {word(reinterpret_cast<const NMLISTVIEW*>(lp)->iSubItem)});
      return true;
    case LVN_HOTTRACK:
      raise(event::kHotRow, {word(reinterpret_cast<const NMLISTVIEW*>(lp)->iItem)});
      return true;
    case NM_CLICK:
    case NM_RCLICK:
    case NM_DBLCLK: {
      const auto click = *reinterpret_cast<const NMITEMACTIVATE*>(lp);
      if (header.code != NM_DBLCLK) raise(header.code == NM_CLICK ? event::kClick : event::kRightClick);
      if (still_alive(list, this)) check_box_clicked(click);
      return true;
    }
    case LVN_BEGINLABELEDITA:
      return on_begin_edit(*reinterpret_cast<const NMLVDISPINFOA*>(lp), result);
    case LVN_ENDLABELEDITA:
      return on_end_edit(*reinterpret_cast<const NMLVDISPINFOA*>(lp), result);
    case LVN_GETINFOTIPA:
      on_info_tip(*reinterpret_cast<NMLVGETINFOTIPA*>(lp));
      return true;
    case NM_SETFOCUS:
      raise(event::kFocusGained);
      return true;
    case NM_KILLFOCUS:
      raise(event::kFocusLost);
      return true;
    default:
      return false;
  }
}

bool ListViewUnit::on_begin_edit(const NMLVDISPINFOA& info, LRESULT* result) {
  if (info.item.iItem >= 0 && rejected(raise(event::kBeginEdit, {word(info.item.iItem)}))) *result = TRUE;
  return true;
}

bool ListViewUnit::on_end_edit(const NMLVDISPINFOA& info, LRESULT* result) {
  HWND list = hwnd();
  const int row = info.item.iItem;
  edited_text_ = info.item.pszText != nullptr ? std::string(info.item.pszText) : read_cell_text(list, row, 0);
  const bool accepted = row < 0 || !rejected(raise(event::kEndEdit, {word(row)}));
  if (still_alive(list, this)) edited_text_.clear();
  *result = accepted ? TRUE : FALSE;
  return true;
}

void ListViewUnit::on_info_tip(NMLVGETINFOTIPA& tip) const {
  if (tip.iItem < 0 || static_cast<std::size_t>(tip.iItem) >= tips_.size()) return;
  if (tip.pszText == nullptr || tip.cchTextMax <= 0) return;
  const std::string& text = tips_[static_cast<std::size_t>(tip.iItem)];
  const std::size_t n = std::min(text.size(), static_cast<std::size_t>(tip.cchTextMax) - 1);
  std::memcpy(tip.pszText, text.data(), n);
  tip.pszText[n] = '\0';
}

void ListViewUnit::check_box_clicked(const NMITEMACTIVATE& click) {
  if (click.iItem < 0) return;
  LVHITTESTINFO hit{};
  hit.pt = click.ptAction;
  const auto row = static_cast<int>(SendMessageA(hwnd(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (row == click.iItem && (hit.flags & LVHT_ONITEMSTATEICON) != 0)
    PostMessageA(hwnd(), kMsgCheckToggled, static_cast<WPARAM>(row), 0);
}

}  // namespace ui::listview
