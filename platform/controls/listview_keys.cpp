// Keyboard input: moving the focus and selection, check boxes, activation, select all, search.
#include <algorithm>
#include <cctype>

#include "platform/controls/listview_state.h"

namespace platform::controls::listview {

namespace {

// The row a navigation key leads to from `from`, or -1 when the key does not navigate.
int target_of(State& st, UINT vk, int from) {
  const int n = static_cast<int>(st.rows.size());
  if (n == 0) return -1;
  if (from < 0) return vk == VK_END ? n - 1 : 0;
  const int view = view_of(st);
  const int line = per_column(st);
  const bool column_major = view == LVS_LIST || (style_of(st) & LVS_ALIGNLEFT);
  int target = from;
  switch (vk) {
    case VK_HOME:
      target = 0;
      break;
    case VK_END:
      target = n - 1;
      break;
    case VK_UP:
      target = view == LVS_REPORT || column_major ? from - 1 : from - line;
      break;
    case VK_DOWN:
      target = view == LVS_REPORT || column_major ? from + 1 : from + line;
      break;
    case VK_LEFT:
      if (view == LVS_REPORT) return -1;
      target = column_major ? from - line : from - 1;
      break;
    case VK_RIGHT:
      if (view == LVS_REPORT) return -1;
      target = column_major ? from + line : from + 1;
      break;
    case VK_PRIOR:
    case VK_NEXT: {
      if (view != LVS_REPORT) {
        target = vk == VK_PRIOR ? from - line : from + line;
        break;
      }
      // First to the edge of the page, then a page further.
      const int page = std::max(1, per_page(st));
      const int top = top_index(st);
      const int bottom = std::min(n - 1, top + page - 1);
      if (vk == VK_PRIOR)
        target = from > top ? top : from - page + 1;
      else
        target = from < bottom ? bottom : from + page - 1;
      break;
    }
    default:
      return -1;
  }
  return std::clamp(target, 0, n - 1);
}

void move_to(State& st, int target) {
  const bool ctrl = GetKeyState(VK_CONTROL) < 0;
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  const bool single = (style_of(st) & LVS_SINGLESEL) != 0;
  if (shift && !single) {
    const int anchor = valid_item(st, st.mark) ? st.mark : target;
    select_range(st, anchor, target, ctrl);
    st.mark = anchor;
  } else if (!ctrl || single) {
    select_only(st, target, true);
    st.mark = target;
  }
  set_focus_item(st, target);
  ensure_visible(st, target, false);
}

}  // namespace

void on_key_down(State& st, WPARAM vk) {
  const HWND hwnd = st.hwnd;
  NMLVKEYDOWN kd{};
  kd.wVKey = static_cast<WORD>(vk);
  notify(st, kd.hdr, LVN_KEYDOWN);
  if (!IsWindow(hwnd)) return;
  hide_tip(st);
  const bool ctrl = GetKeyState(VK_CONTROL) < 0;
  switch (vk) {
    case VK_SPACE:
      if (!valid_item(st, st.focus)) {
        if (!st.rows.empty()) move_to(st, 0);
        return;
      }
      if (st.ex_style & LVS_EX_CHECKBOXES) {
        toggle_check(st, st.focus);
      } else if (ctrl) {
        const bool selected = get_state(st, st.focus, LVIS_SELECTED) != 0;
        set_state(st, st.focus, selected ? 0 : LVIS_SELECTED, LVIS_SELECTED);
        st.mark = st.focus;
      } else {
        set_state(st, st.focus, LVIS_SELECTED, LVIS_SELECTED);
        st.mark = st.focus;
      }
      return;
    case VK_RETURN: {
      NMHDR hdr{};
      notify(st, hdr, NM_RETURN);
      if (IsWindow(hwnd) && valid_item(st, st.focus))
        notify_activate(st, LVN_ITEMACTIVATE, st.focus, 0, POINT{}, key_flags());
      return;
    }
    case VK_F2:
      if ((style_of(st) & LVS_EDITLABELS) && valid_item(st, st.focus)) begin_edit(st, st.focus);
      return;
    case 'A':
      if (ctrl && !(style_of(st) & LVS_SINGLESEL)) select_all(st, true);
      return;
    default:
      break;
  }
  if (view_of(st) == LVS_REPORT && (vk == VK_LEFT || vk == VK_RIGHT)) {
    scroll_by(st, vk == VK_LEFT ? -12 : 12, 0);
    return;
  }
  const int target = target_of(st, static_cast<UINT>(vk), st.focus);
  if (target >= 0) move_to(st, target);
}

void on_char(State& st, WPARAM ch) {
  // Type-ahead by the first letter: the next row after the focus whose text starts with it.
  if (ch < 0x21 || ch > 0x7E || st.rows.empty()) return;
  const int n = static_cast<int>(st.rows.size());
  const int lower = std::tolower(static_cast<int>(ch));
  for (int k = 1; k <= n; ++k) {
    const int i = (std::max(st.focus, -1) + k + n) % n;
    const std::string_view text = cell_text(st, i, 0);
    if (!text.empty() && std::tolower(static_cast<unsigned char>(text[0])) == lower) {
      select_only(st, i, true);
      set_focus_item(st, i);
      st.mark = i;
      ensure_visible(st, i, false);
      return;
    }
  }
}

}  // namespace platform::controls::listview
