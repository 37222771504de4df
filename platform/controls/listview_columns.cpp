// Report-view columns, kept in step with the header control.
#include <algorithm>
#include <cstring>

#include "platform/controls/listview_state.h"

namespace platform::controls::listview {

namespace {

constexpr int kAutosizePadding = 12;

bool valid_column(const State& st, int index) {
  return index >= 0 && static_cast<std::size_t>(index) < st.columns.size();
}

HDITEMA header_item(const Column& c, UINT mask) {
  HDITEMA hi{};
  hi.mask = mask;
  hi.cxy = c.width;
  hi.pszText = const_cast<LPSTR>(c.text.c_str());
  hi.cchTextMax = static_cast<int>(c.text.size());
  hi.fmt = (c.fmt & LVCFMT_JUSTIFYMASK) | HDF_STRING;
  if (c.fmt & LVCFMT_IMAGE) hi.fmt |= HDF_IMAGE;
  if (c.fmt & LVCFMT_BITMAP_ON_RIGHT) hi.fmt |= HDF_BITMAP_ON_RIGHT;
  hi.iImage = c.image;
  return hi;
}

int text_width(HDC dc, std::string_view text) {
  SIZE size{};
  GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
  return size.cx;
}

int autosize_width(State& st, int index, bool use_header) {
  HDC dc = GetDC(st.hwnd);
  HGDIOBJ old = SelectObject(dc, st.font);
  int width = 0;
  for (int i = 0; valid_item(st, i); ++i) width = std::max(width, text_width(dc, cell_text(st, i, index)));
  if (use_header) width = std::max(width, text_width(dc, st.columns[static_cast<std::size_t>(index)].text));
  SelectObject(dc, old);
  ReleaseDC(st.hwnd, dc);
  width += kAutosizePadding;
  if (index == 0) {
    int cx = 0;
    int cy = 0;
    if (st.images[LVSIL_SMALL] && ImageList_GetIconSize(st.images[LVSIL_SMALL], &cx, &cy)) width += cx + 2;
    if (st.images[LVSIL_STATE] && ImageList_GetIconSize(st.images[LVSIL_STATE], &cx, &cy)) width += cx + 2;
  }
  return width;
}

void push_order(State& st) {
  if (st.header && !st.order.empty())
    SendMessageA(st.header, HDM_SETORDERARRAY, st.order.size(), reinterpret_cast<LPARAM>(st.order.data()));
}

}  // namespace

LRESULT insert_column(State& st, int index, const LVCOLUMNA& col) {
  if (index < 0) return -1;
  index = std::min(index, static_cast<int>(st.columns.size()));
  Column c;
  if (col.mask & LVCF_FMT) c.fmt = col.fmt;
  if (col.mask & LVCF_WIDTH) c.width = std::max(0, col.cx);
  if ((col.mask & LVCF_TEXT) && col.pszText && col.pszText != LPSTR_TEXTCALLBACKA) c.text = col.pszText;
  c.subitem = (col.mask & LVCF_SUBITEM) ? col.iSubItem : index;
  if (col.mask & LVCF_IMAGE) c.image = col.iImage;
  st.columns.insert(st.columns.begin() + index, c);
  if (index > 0)
    for (Row& r : st.rows)
      if (r.cells.size() > static_cast<std::size_t>(index)) r.cells.insert(r.cells.begin() + index, Cell{});
  if (st.header) {
    HDITEMA hi = header_item(c, HDI_TEXT | HDI_WIDTH | HDI_FORMAT | (c.image >= 0 ? HDI_IMAGE : 0));
    SendMessageA(st.header, HDM_INSERTITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&hi));
  }
  pull_header(st);
  if ((col.mask & LVCF_ORDER) && col.iOrder >= 0 && static_cast<std::size_t>(col.iOrder) < st.order.size()) {
    st.order.erase(std::find(st.order.begin(), st.order.end(), index));
    st.order.insert(st.order.begin() + col.iOrder, index);
    push_order(st);
  }
  mark_layout_dirty(st);
  invalidate_all(st);
  return index;
}

bool set_column(State& st, int index, const LVCOLUMNA& col) {
  if (!valid_column(st, index)) return false;
  Column& c = st.columns[static_cast<std::size_t>(index)];
  UINT hmask = 0;
  if (col.mask & LVCF_FMT) {
    c.fmt = col.fmt;
    hmask |= HDI_FORMAT;
  }
  if ((col.mask & LVCF_TEXT) && col.pszText && col.pszText != LPSTR_TEXTCALLBACKA) {
    c.text = col.pszText;
    hmask |= HDI_TEXT;
  }
  if (col.mask & LVCF_SUBITEM) c.subitem = col.iSubItem;
  if (col.mask & LVCF_IMAGE) {
    c.image = col.iImage;
    hmask |= HDI_IMAGE | HDI_FORMAT;
  }
  if (st.header && hmask) {
    HDITEMA hi = header_item(c, hmask);
    SendMessageA(st.header, HDM_SETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&hi));
  }
  if (col.mask & LVCF_WIDTH) set_column_width(st, index, col.cx);
  if ((col.mask & LVCF_ORDER) && col.iOrder >= 0 && static_cast<std::size_t>(col.iOrder) < st.order.size()) {
    st.order.erase(std::find(st.order.begin(), st.order.end(), index));
    st.order.insert(st.order.begin() + col.iOrder, index);
    push_order(st);
  }
  invalidate_all(st);
  return true;
}

bool get_column(const State& st, int index, LVCOLUMNA& col) {
  if (!valid_column(st, index)) return false;
  const Column& c = st.columns[static_cast<std::size_t>(index)];
  if (col.mask & LVCF_FMT) col.fmt = c.fmt;
  if (col.mask & LVCF_WIDTH) col.cx = c.width;
  if ((col.mask & LVCF_TEXT) && col.pszText && col.cchTextMax > 0) {
    const std::size_t n = std::min(c.text.size(), static_cast<std::size_t>(col.cchTextMax - 1));
    std::memcpy(col.pszText, c.text.data(), n);
    col.pszText[n] = '\0';
  }
  if (col.mask & LVCF_SUBITEM) col.iSubItem = c.subitem;
  if (col.mask & LVCF_IMAGE) col.iImage = c.image;
  if (col.mask & LVCF_ORDER)
    col.iOrder = static_cast<int>(std::find(st.order.begin(), st.order.end(), index) - st.order.begin());
  return true;
}

bool delete_column(State& st, int index) {
  if (!valid_column(st, index)) return false;
  // The item column holds the rows' own text; it goes only when it is the last column.
  if (index == 0 && st.columns.size() > 1) return false;
  st.columns.erase(st.columns.begin() + index);
  if (index > 0)
    for (Row& r : st.rows)
      if (r.cells.size() > static_cast<std::size_t>(index)) r.cells.erase(r.cells.begin() + index);
  if (st.header) SendMessageA(st.header, HDM_DELETEITEM, static_cast<WPARAM>(index), 0);
  pull_header(st);
  mark_layout_dirty(st);
  invalidate_all(st);
  return true;
}

bool set_column_width(State& st, int index, int width) {
  if (view_of(st) == LVS_LIST) {
    if (width <= 0) return false;
    st.list_column_width = width;
    mark_layout_dirty(st);
    invalidate_all(st);
    return true;
  }
  if (!valid_column(st, index)) return false;
  if (width == LVSCW_AUTOSIZE) {
    width = autosize_width(st, index, false);
  } else if (width == LVSCW_AUTOSIZE_USEHEADER) {
    width = autosize_width(st, index, true);
    if (!st.order.empty() && st.order.back() == index) {
      const int rest = (client_rect(st).right - client_rect(st).left) -
                       (total_width(st) - st.columns[static_cast<std::size_t>(index)].width);
      width = std::max(width, rest);
    }
  }
  width = std::max(0, width);
  st.columns[static_cast<std::size_t>(index)].width = width;
  if (st.header) {
    HDITEMA hi{};
    hi.mask = HDI_WIDTH;
    hi.cxy = width;
    SendMessageA(st.header, HDM_SETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&hi));
  }
  mark_layout_dirty(st);
  invalidate_all(st);
  return true;
}

bool set_order(State& st, int count, const int* order) {
  if (!order || count != static_cast<int>(st.columns.size())) return false;
  std::vector<int> fresh(order, order + count);
  std::vector<int> check = fresh;
  std::sort(check.begin(), check.end());
  for (int k = 0; k < count; ++k)
    if (check[static_cast<std::size_t>(k)] != k) return false;
  st.order = std::move(fresh);
  push_order(st);
  invalidate_all(st);
  return true;
}

bool get_order(const State& st, int count, int* order) {
  if (!order || count < static_cast<int>(st.order.size())) return false;
  std::copy(st.order.begin(), st.order.end(), order);
  return true;
}

void pull_header(State& st) {
  const std::size_t n = st.columns.size();
  st.order.resize(n);
  if (!st.header || static_cast<std::size_t>(SendMessageA(st.header, HDM_GETITEMCOUNT, 0, 0)) != n) {
    for (std::size_t k = 0; k < n; ++k) st.order[k] = static_cast<int>(k);
    return;
  }
  for (std::size_t k = 0; k < n; ++k) {
    HDITEMA hi{};
    hi.mask = HDI_WIDTH;
    if (SendMessageA(st.header, HDM_GETITEMA, k, reinterpret_cast<LPARAM>(&hi))) st.columns[k].width = hi.cxy;
  }
  SendMessageA(st.header, HDM_GETORDERARRAY, n, reinterpret_cast<LPARAM>(st.order.data()));
}

int total_width(const State& st) {
  int w = 0;
  for (const Column& c : st.columns) w += c.width;
  return w;
}

int column_left(const State& st, int column) {
  int x = 0;
  for (int k : st.order) {
    if (k == column) return x;
    x += st.columns[static_cast<std::size_t>(k)].width;
  }
  return x;
}

}  // namespace platform::controls::listview
