#include "ui/listview/listview_content.h"

#include <string>

#include "platform/api/listview.h"
#include "platform/api/user.h"
#include "ui/listview/listview_properties.h"

namespace ui::listview {
namespace {

constexpr UINT kStateImageShift = 12;
constexpr std::size_t kFirstReadSize = 512;
constexpr std::size_t kLargestReadSize = std::size_t{1} << 30;

int column_format(const ColumnRecord& c) {
  int fmt = c.alignment == 1 ? LVCFMT_CENTER : c.alignment == 2 ? LVCFMT_RIGHT : LVCFMT_LEFT;
  if (c.image != -1) {
    fmt |= LVCFMT_IMAGE;
    if (c.image_on_right) fmt |= LVCFMT_BITMAP_ON_RIGHT;
  }
  return fmt;
}

// An image index that the list has, else -1.
int checked_image(HWND list, int which, std::int32_t index) {
  const auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, which, 0));
  if (images == nullptr || index < 0 || index >= ImageList_GetImageCount(images)) return -1;
  return index;
}

}  // namespace

void insert_columns(HWND list, std::span<const std::uint8_t> blob) {
  const std::vector<ColumnRecord> columns = decode_columns(blob);
  for (std::size_t n = 0; n < columns.size(); ++n) {
    const ColumnRecord& c = columns[n];
    std::string title = c.title;
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = column_format(c);
    column.cx = c.width;
    column.pszText = title.data();
    column.iSubItem = static_cast<int>(n);
    if (c.image != -1) {
      column.mask |= LVCF_IMAGE;
      column.iImage = c.image;
    }
    SendMessageA(list, LVM_INSERTCOLUMNA, n, reinterpret_cast<LPARAM>(&column));
  }
}

std::vector<std::string> rebuild_rows(HWND list, std::span<const std::uint8_t> blob, bool report_view) {
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  const auto style = static_cast<DWORD>(GetWindowLongA(list, GWL_STYLE));
  const int item_list = (style & LVS_TYPEMASK) == LVS_ICON ? LVSIL_NORMAL : LVSIL_SMALL;
  std::vector<std::string> tips;
  int next_row = 0;
  int last_row = -1;
  int next_column = 1;
  for (ItemRecord& record : decode_items(blob)) {
    const int image = checked_image(list, item_list, record.image);
    const int state_image = checked_image(list, LVSIL_STATE, record.state_image);
    LVITEMA item{};
    item.pszText = record.text.data();
    item.iImage = image;
    if (record.sub_item) {
      if (last_row < 0) continue;  // no row to attach it to
      item.mask = LVIF_TEXT | LVIF_IMAGE;
      item.iItem = last_row;
      item.iSubItem = next_column++;
      SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
      continue;
    }
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = next_row++;
    item.lParam = record.data;
    if (state_image != -1) {
      item.mask |= LVIF_STATE;
      item.state = static_cast<UINT>(state_image + 1) << kStateImageShift;
    }
    if (report_view) {
      item.mask |= LVIF_INDENT;
      item.iIndent = record.indent;
    }
    last_row = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    next_column = 1;
    tips.push_back(std::move(record.tip));
  }
  return tips;
}

void select_row(HWND list, std::int32_t row) {
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  if (row >= 0) {
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return;
  }
  const std::int32_t selected = first_selected_row(list);
  if (selected >= 0)
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(&item));
}

std::string read_cell_text(HWND list, std::int32_t row, std::int32_t column) {
  std::string buffer(kFirstReadSize, '\0');
  for (;;) {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    const LRESULT length =
        SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    // A text that filled the buffer may have been cut short: read again with twice the room.
    if (length < static_cast<LRESULT>(buffer.size()) - 1 || buffer.size() >= kLargestReadSize) break;
    buffer.assign(buffer.size() * 2, '\0');
  }
  buffer.back() = '\0';
  buffer.resize(std::char_traits<char>::length(buffer.c_str()));
  return buffer;
}

std::int32_t first_selected_row(HWND list) {
  return static_cast<std::int32_t>(
      SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

}  // namespace ui::listview
