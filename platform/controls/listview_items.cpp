// The list view's rows: insertion, deletion, cell text and images, state bits and selection.
#include <algorithm>
#include <cstring>
#include <numeric>

#include "platform/controls/listview_state.h"

namespace platform::controls::listview {

namespace {

constexpr UINT kSelectionBits = LVIS_SELECTED | LVIS_FOCUSED;

bool text_less(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t k = 0; k < n; ++k) {
    auto ca = static_cast<unsigned char>(a[k]);
    auto cb = static_cast<unsigned char>(b[k]);
    if (ca >= 'A' && ca <= 'Z') ca = static_cast<unsigned char>(ca + 32);
    if (cb >= 'A' && cb <= 'Z') cb = static_cast<unsigned char>(cb + 32);
    if (ca != cb) return ca < cb;
  }
  return a.size() < b.size();
}

int sorted_position(State& st, std::string_view text) {
  const bool descending = (style_of(st) & LVS_SORTDESCENDING) != 0;
  int lo = 0;
  int hi = static_cast<int>(st.rows.size());
  while (lo < hi) {
    const int mid = (lo + hi) / 2;
    const std::string_view other = st.rows[static_cast<std::size_t>(mid)].cells[0].text;
    // Equal texts keep insertion order: a new row goes after its equals.
    const bool before = descending ? text_less(other, text) : text_less(text, other);
    if (before)
      hi = mid;
    else
      lo = mid + 1;
  }
  return lo;
}

void shift_indices(State& st, int from, int delta) {
  for (int* index : {&st.focus, &st.mark, &st.edit_item, &st.tip_item, &st.hover_item}) {
    if (*index < from) continue;
    if (delta < 0 && *index == from)
      *index = -1;
    else
      *index += delta;
  }
  st.hot = -1;
}

void assign_text(Cell& cell, LPCSTR text) {
  if (text == LPSTR_TEXTCALLBACKA) {
    cell.text.clear();
    cell.text_callback = true;
  } else {
    cell.text = text ? text : "";
    cell.text_callback = false;
  }
}

Cell* cell_at(State& st, int item, int subitem, bool create) {
  Row& row = st.rows[static_cast<std::size_t>(item)];
  if (static_cast<std::size_t>(subitem) >= row.cells.size()) {
    if (!create) return nullptr;
    row.cells.resize(static_cast<std::size_t>(subitem) + 1);
  }
  return &row.cells[static_cast<std::size_t>(subitem)];
}

bool subitem_allowed(const State& st, int subitem) {
  return subitem == 0 || (subitem > 0 && static_cast<std::size_t>(subitem) < st.columns.size());
}

// Merge sort on indices: safe with any comparator, even an inconsistent one.
void merge_sort(std::vector<int>& idx, const std::vector<LPARAM>& params, PFNLVCOMPARE compare,
                LPARAM param) {
  std::vector<int> tmp(idx.size());
  for (std::size_t width = 1; width < idx.size(); width *= 2) {
    for (std::size_t lo = 0; lo < idx.size(); lo += 2 * width) {
      const std::size_t mid = std::min(lo + width, idx.size());
      const std::size_t hi = std::min(lo + 2 * width, idx.size());
      std::size_t a = lo;
      std::size_t b = mid;
      std::size_t out = lo;
      while (a < mid && b < hi) {
        const bool take_b = compare(params[static_cast<std::size_t>(idx[b])],
                                    params[static_cast<std::size_t>(idx[a])], param) < 0;
        tmp[out++] = take_b ? idx[b++] : idx[a++];
      }
      while (a < mid) tmp[out++] = idx[a++];
      while (b < hi) tmp[out++] = idx[b++];
    }
    idx.swap(tmp);
  }
}

}  // namespace

DWORD style_of(const State& st) {
  return static_cast<DWORD>(GetWindowLongA(st.hwnd, GWL_STYLE));
}

int view_of(const State& st) {
  return static_cast<int>(style_of(st) & LVS_TYPEMASK);
}

bool valid_item(const State& st, int i) {
  return i >= 0 && static_cast<std::size_t>(i) < st.rows.size();
}

std::string_view cell_text(State& st, int item, int subitem) {
  if (!valid_item(st, item)) return {};
  const Row& row = st.rows[static_cast<std::size_t>(item)];
  if (subitem < 0 || static_cast<std::size_t>(subitem) >= row.cells.size()) return {};
  const Cell& cell = row.cells[static_cast<std::size_t>(subitem)];
  if (!cell.text_callback) return cell.text;
  NMLVDISPINFOA di{};
  di.item.mask = LVIF_TEXT;
  di.item.iItem = item;
  di.item.iSubItem = subitem;
  di.item.lParam = row.param;
  st.scratch[0] = '\0';
  di.item.pszText = st.scratch.data();
  di.item.cchTextMax = static_cast<int>(st.scratch.size());
  notify(st, di.hdr, LVN_GETDISPINFOA);
  if (!di.item.pszText || di.item.pszText == LPSTR_TEXTCALLBACKA) return {};
  if (di.item.pszText == st.scratch.data()) {
    st.scratch.back() = '\0';
    return std::string_view(st.scratch.data());
  }
  return std::string_view(di.item.pszText);
}

int cell_image(const State& st, int item, int subitem) {
  if (!valid_item(st, item)) return -1;
  const Row& row = st.rows[static_cast<std::size_t>(item)];
  if (subitem < 0 || static_cast<std::size_t>(subitem) >= row.cells.size()) return -1;
  return row.cells[static_cast<std::size_t>(subitem)].image;
}

LRESULT insert_item(State& st, const LVITEMA& item) {
  if (item.iSubItem != 0 || item.iItem < 0) return -1;
  Row row;
  row.cells.resize(1);
  if (item.mask & LVIF_TEXT) assign_text(row.cells[0], item.pszText);
  if (item.mask & LVIF_IMAGE) row.cells[0].image = item.iImage;
  if (item.mask & LVIF_PARAM) row.param = item.lParam;
  if (item.mask & LVIF_INDENT) row.indent = std::max(0, item.iIndent);
  UINT wanted = 0;
  if (item.mask & LVIF_STATE) {
    wanted = item.state & item.stateMask;
    row.state = wanted & ~kSelectionBits;
  }
  if ((st.ex_style & LVS_EX_CHECKBOXES) && !(row.state & LVIS_STATEIMAGEMASK))
    row.state |= INDEXTOSTATEIMAGEMASK(1);

  int at = std::min(item.iItem, static_cast<int>(st.rows.size()));
  if ((style_of(st) & (LVS_SORTASCENDING | LVS_SORTDESCENDING)) && !row.cells[0].text_callback)
    at = sorted_position(st, row.cells[0].text);
  st.rows.insert(st.rows.begin() + at, std::move(row));
  shift_indices(st, at, 1);
  mark_layout_dirty(st);
  invalidate_item(st, at);
  if (top_index(st) > at || view_of(st) != LVS_REPORT)
    invalidate_all(st);
  else {
    // Rows below the new one moved down.
    RECT r = item_rect(st, at, LVIR_BOUNDS);
    RECT area = rows_area(st);
    if (r.top < area.bottom) {
      r.left = area.left;
      r.right = area.right;
      r.bottom = area.bottom;
      InvalidateRect(st.hwnd, &r, FALSE);
    }
  }
  notify_item(st, LVN_INSERTITEM, at);
  if ((wanted & kSelectionBits) && valid_item(st, at)) set_state(st, at, wanted, kSelectionBits);
  return at;
}

bool set_item(State& st, const LVITEMA& item) {
  if (!valid_item(st, item.iItem) || !subitem_allowed(st, item.iSubItem)) return false;
  const int i = item.iItem;
  if (item.iSubItem > 0) {
    Cell* cell = cell_at(st, i, item.iSubItem, true);
    if (item.mask & LVIF_TEXT) assign_text(*cell, item.pszText);
    if (item.mask & LVIF_IMAGE) cell->image = item.iImage;
    invalidate_item(st, i);
    return true;
  }
  const UINT changed = item.mask & (LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM);
  if (changed) {
    const UINT state = st.rows[static_cast<std::size_t>(i)].state;
    if (notify_change(st, LVN_ITEMCHANGING, i, state, state, changed)) return false;
    if (!valid_item(st, i)) return false;
    Row& row = st.rows[static_cast<std::size_t>(i)];
    if (item.mask & LVIF_TEXT) assign_text(row.cells[0], item.pszText);
    if (item.mask & LVIF_IMAGE) row.cells[0].image = item.iImage;
    if (item.mask & LVIF_PARAM) row.param = item.lParam;
  }
  if (item.mask & LVIF_INDENT) st.rows[static_cast<std::size_t>(i)].indent = std::max(0, item.iIndent);
  invalidate_item(st, i);
  if (changed) {
    const UINT state = st.rows[static_cast<std::size_t>(i)].state;
    notify_change(st, LVN_ITEMCHANGED, i, state, state, changed);
  }
  if ((item.mask & LVIF_STATE) && valid_item(st, i)) return set_state(st, i, item.state, item.stateMask);
  return valid_item(st, i);
}

bool get_item(State& st, LVITEMA& item) {
  if (!valid_item(st, item.iItem) || !subitem_allowed(st, item.iSubItem)) return false;
  const Row& row = st.rows[static_cast<std::size_t>(item.iItem)];
  if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
    const std::string_view text = cell_text(st, item.iItem, item.iSubItem);
    const std::size_t n = std::min(text.size(), static_cast<std::size_t>(item.cchTextMax - 1));
    if (n > 0) std::memcpy(item.pszText, text.data(), n);
    item.pszText[n] = '\0';
  }
  if (item.mask & LVIF_IMAGE) item.iImage = cell_image(st, item.iItem, item.iSubItem);
  if (item.iSubItem == 0) {
    if (item.mask & LVIF_PARAM) item.lParam = row.param;
    if (item.mask & LVIF_STATE) item.state = row.state & item.stateMask;
    if (item.mask & LVIF_INDENT) item.iIndent = row.indent;
  }
  return true;
}

bool delete_item(State& st, int i) {
  if (!valid_item(st, i)) return false;
  if (st.edit && st.edit_item == i) end_edit(st, false);
  notify_item(st, LVN_DELETEITEM, i);
  if (!valid_item(st, i)) return false;
  RECT r = item_rect(st, i, LVIR_BOUNDS);
  st.rows.erase(st.rows.begin() + i);
  shift_indices(st, i, -1);
  if (view_of(st) == LVS_REPORT) {
    const RECT area = rows_area(st);
    r.left = area.left;
    r.right = area.right;
    r.bottom = area.bottom;
    InvalidateRect(st.hwnd, &r, FALSE);
  } else {
    invalidate_all(st);
  }
  mark_layout_dirty(st);
  return true;
}

bool delete_all(State& st) {
  if (st.edit) end_edit(st, false);
  hide_tip(st);
  const bool quiet = notify_item(st, LVN_DELETEALLITEMS, -1) != 0;
  if (!quiet)
    for (int i = 0; valid_item(st, i); ++i) notify_item(st, LVN_DELETEITEM, i);
  st.rows.clear();
  st.focus = st.mark = st.hot = st.edit_item = st.tip_item = st.hover_item = -1;
  st.origin_y = 0;
  if (view_of(st) != LVS_REPORT) st.origin_x = 0;
  mark_layout_dirty(st);
  invalidate_all(st);
  return true;
}

bool set_state(State& st, int i, UINT state, UINT mask) {
  if (!valid_item(st, i)) return false;
  UINT old = st.rows[static_cast<std::size_t>(i)].state;
  UINT fresh = (old & ~mask) | (state & mask);
  if (old == fresh) return true;
  if ((fresh & LVIS_SELECTED) && !(old & LVIS_SELECTED) && (style_of(st) & LVS_SINGLESEL)) {
    for (int j = 0; valid_item(st, j); ++j)
      if (j != i && (st.rows[static_cast<std::size_t>(j)].state & LVIS_SELECTED))
        set_state(st, j, 0, LVIS_SELECTED);
  }
  if ((fresh & LVIS_FOCUSED) && !(old & LVIS_FOCUSED) && st.focus >= 0 && st.focus != i)
    set_state(st, st.focus, 0, LVIS_FOCUSED);
  if (!valid_item(st, i)) return false;
  old = st.rows[static_cast<std::size_t>(i)].state;
  fresh = (old & ~mask) | (state & mask);
  if (old == fresh) return true;
  if (notify_change(st, LVN_ITEMCHANGING, i, old, fresh, LVIF_STATE)) return false;
  if (!valid_item(st, i)) return false;
  Row& row = st.rows[static_cast<std::size_t>(i)];
  old = row.state;
  fresh = (old & ~mask) | (state & mask);
  row.state = fresh;
  if (fresh & LVIS_FOCUSED)
    st.focus = i;
  else if (st.focus == i)
    st.focus = -1;
  invalidate_item(st, i);
  notify_change(st, LVN_ITEMCHANGED, i, old, fresh, LVIF_STATE);
  return true;
}

UINT get_state(const State& st, int i, UINT mask) {
  return valid_item(st, i) ? st.rows[static_cast<std::size_t>(i)].state & mask : 0;
}

int next_item(const State& st, int start, UINT flags) {
  const UINT want = flags & (LVNI_SELECTED | LVNI_FOCUSED | LVNI_CUT | LVNI_DROPHILITED);
  const int n = static_cast<int>(st.rows.size());
  auto matches = [&](int i) { return (st.rows[static_cast<std::size_t>(i)].state & want) == want; };
  const UINT direction = flags & (LVNI_ABOVE | LVNI_BELOW | LVNI_TOLEFT | LVNI_TORIGHT);
  if (!direction) {
    for (int i = std::max(start + 1, 0); i < n; ++i)
      if (matches(i)) return i;
    return -1;
  }
  if (start < 0 || start >= n) return -1;
  // Geometric neighbours: rows in report view, columns in list view, grid lines otherwise.
  const int view = static_cast<int>(GetWindowLongA(st.hwnd, GWL_STYLE) & LVS_TYPEMASK);
  int step = 0;
  if (view == LVS_REPORT) {
    step = direction & LVNI_ABOVE ? -1 : direction & LVNI_BELOW ? 1 : 0;
  } else {
    const int line = per_column(const_cast<State&>(st));
    const bool vertical_first = view == LVS_LIST || (GetWindowLongA(st.hwnd, GWL_STYLE) & LVS_ALIGNLEFT);
    const int along = vertical_first ? 1 : line;
    const int across = vertical_first ? line : 1;
    if (direction & LVNI_ABOVE)
      step = -along;
    else if (direction & LVNI_BELOW)
      step = along;
    else if (direction & LVNI_TOLEFT)
      step = -across;
    else
      step = across;
  }
  if (step == 0) return -1;
  for (int i = start + step; i >= 0 && i < n; i += step)
    if (matches(i)) return i;
  return -1;
}

int selected_count(const State& st) {
  return static_cast<int>(std::count_if(st.rows.begin(), st.rows.end(),
                                        [](const Row& r) { return (r.state & LVIS_SELECTED) != 0; }));
}

bool sort_items(State& st, PFNLVCOMPARE compare, LPARAM param) {
  if (!compare) return false;
  if (st.edit) end_edit(st, true);
  std::vector<LPARAM> params;
  params.reserve(st.rows.size());
  for (const Row& r : st.rows) params.push_back(r.param);
  std::vector<int> idx(st.rows.size());
  std::iota(idx.begin(), idx.end(), 0);
  merge_sort(idx, params, compare, param);
  if (idx.size() != st.rows.size()) return false;  // the comparator changed the rows
  std::vector<Row> sorted;
  sorted.reserve(st.rows.size());
  for (int k : idx) sorted.push_back(std::move(st.rows[static_cast<std::size_t>(k)]));
  st.rows = std::move(sorted);
  st.focus = -1;
  for (int i = 0; valid_item(st, i); ++i)
    if (st.rows[static_cast<std::size_t>(i)].state & LVIS_FOCUSED) st.focus = i;
  st.mark = st.focus;
  st.hot = st.tip_item = st.hover_item = -1;
  invalidate_all(st);
  return true;
}

void toggle_check(State& st, int i) {
  if (!valid_item(st, i)) return;
  const UINT index = (st.rows[static_cast<std::size_t>(i)].state & LVIS_STATEIMAGEMASK) >> 12;
  set_state(st, i, INDEXTOSTATEIMAGEMASK(index == 2 ? 1 : 2), LVIS_STATEIMAGEMASK);
}

void set_checkboxes(State& st, bool on) {
  if (on) {
    if (!st.images[LVSIL_STATE]) {
      st.own_checkboxes = make_checkbox_images();
      st.images[LVSIL_STATE] = st.own_checkboxes;
    }
    for (Row& r : st.rows)
      if (!(r.state & LVIS_STATEIMAGEMASK)) r.state |= INDEXTOSTATEIMAGEMASK(1);
  } else {
    if (st.own_checkboxes && st.images[LVSIL_STATE] == st.own_checkboxes) st.images[LVSIL_STATE] = nullptr;
    if (st.own_checkboxes) ImageList_Destroy(st.own_checkboxes);
    st.own_checkboxes = nullptr;
    for (Row& r : st.rows) r.state &= ~LVIS_STATEIMAGEMASK;
  }
  measure(st);
  invalidate_all(st);
}

void select_only(State& st, int i, bool focus) {
  for (int j = 0; valid_item(st, j); ++j)
    if (j != i && (st.rows[static_cast<std::size_t>(j)].state & LVIS_SELECTED))
      set_state(st, j, 0, LVIS_SELECTED);
  const UINT bits = LVIS_SELECTED | (focus ? LVIS_FOCUSED : 0);
  if (valid_item(st, i)) set_state(st, i, bits, bits);
}

void select_range(State& st, int from, int to, bool keep_others) {
  if (style_of(st) & LVS_SINGLESEL) {
    select_only(st, to, true);
    return;
  }
  const int lo = std::min(from, to);
  const int hi = std::max(from, to);
  for (int j = 0; valid_item(st, j); ++j) {
    const bool inside = j >= lo && j <= hi;
    if (inside)
      set_state(st, j, LVIS_SELECTED, LVIS_SELECTED);
    else if (!keep_others)
      set_state(st, j, 0, LVIS_SELECTED);
  }
}

void select_all(State& st, bool on) {
  if (on && (style_of(st) & LVS_SINGLESEL)) return;
  for (int j = 0; valid_item(st, j); ++j) set_state(st, j, on ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

void set_focus_item(State& st, int i) {
  if (valid_item(st, i)) set_state(st, i, LVIS_FOCUSED, LVIS_FOCUSED);
}

}  // namespace platform::controls::listview
