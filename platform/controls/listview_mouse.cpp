// Mouse input: clicks and selection, check boxes, activation, hot tracking, hover and cursor.
#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/controls/listview_state.h"

namespace platform::controls::listview {

namespace {

constexpr UINT kHoverMs = 400;
constexpr DWORD kHotTrackingStyles = LVS_EX_TRACKSELECT | LVS_EX_ONECLICKACTIVATE | LVS_EX_TWOCLICKACTIVATE;
constexpr int kInfoTipSize = 1024;

POINT point_of(LPARAM lp) {
  return POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
}

UINT flags_of(WPARAM keys) {
  UINT flags = 0;
  if (keys & MK_CONTROL) flags |= LVKF_CONTROL;
  if (keys & MK_SHIFT) flags |= LVKF_SHIFT;
  if (GetKeyState(VK_MENU) < 0) flags |= LVKF_ALT;
  return flags;
}

// Selection change for a left click at `item` with the given modifier keys.
void click_select(State& st, int item, WPARAM keys) {
  const bool ctrl = (keys & MK_CONTROL) != 0;
  const bool shift = (keys & MK_SHIFT) != 0;
  const bool single = (style_of(st) & LVS_SINGLESEL) != 0;
  if (item < 0) {
    if (!ctrl && !shift) select_all(st, false);
    return;
  }
  if (shift && !single) {
    const int anchor = valid_item(st, st.mark) ? st.mark : item;
    select_range(st, anchor, item, ctrl);
    set_focus_item(st, item);
    st.mark = anchor;
    return;
  }
  if (ctrl && !single) {
    const bool selected = get_state(st, item, LVIS_SELECTED) != 0;
    set_state(st, item, selected ? 0 : LVIS_SELECTED, LVIS_SELECTED);
  } else {
    select_only(st, item, true);
  }
  set_focus_item(st, item);
  st.mark = item;
}

int subitem_at(State& st, POINT p) {
  LVHITTESTINFO sub{};
  sub.pt = p;
  hit_test(st, sub, true);
  return sub.iSubItem;
}

bool label_truncated(State& st, int item, std::string_view text) {
  const RECT label = item_rect(st, item, LVIR_LABEL);
  HDC dc = GetDC(st.hwnd);
  HGDIOBJ old = SelectObject(dc, st.font);
  SIZE size{};
  GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(st.hwnd, dc);
  return size.cx + 4 > label.right - label.left;
}

}  // namespace

void set_hot(State& st, int item) {
  if (item == st.hot) return;
  if (item >= 0 && notify_item(st, LVN_HOTTRACK, item) != 0) return;
  const int old = st.hot;
  st.hot = item;
  invalidate_item(st, old);
  invalidate_item(st, item);
}

void on_button_down(State& st, UINT msg, WPARAM wp, LPARAM lp) {
  const HWND hwnd = st.hwnd;
  hide_tip(st);
  KillTimer(hwnd, kEditTimer);
  if (st.edit) end_edit(st, true);
  if (GetFocus() != hwnd) SetFocus(hwnd);
  if (!IsWindow(hwnd)) return;
  const POINT p = point_of(lp);
  LVHITTESTINFO hit{};
  hit.pt = p;
  const int item = hit_test(st, hit, false);
  st.down_item = item;
  st.down_subitem = subitem_at(st, p);
  st.down_point = p;
  st.down_keys = wp;
  st.down_was_selected = item >= 0 && get_state(st, item, LVIS_SELECTED) != 0;
  if (msg == WM_LBUTTONDOWN) {
    const bool sole_focused =
        item >= 0 && item == st.focus && get_state(st, item, LVIS_SELECTED) && selected_count(st) == 1;
    if (item >= 0 && (hit.flags & LVHT_ONITEMSTATEICON) && (st.ex_style & LVS_EX_CHECKBOXES)) {
      toggle_check(st, item);
    } else {
      click_select(st, item, wp);
    }
    st.edit_on_release = (style_of(st) & LVS_EDITLABELS) && sole_focused && !(wp & (MK_CONTROL | MK_SHIFT)) &&
                         (hit.flags & LVHT_ONITEMLABEL);
    st.lbutton_down = true;
    SetCapture(hwnd);
    return;
  }
  // Right button: a click on an unselected row selects it alone; the selection stays otherwise.
  if (item >= 0) {
    if (!get_state(st, item, LVIS_SELECTED)) select_only(st, item, true);
    set_focus_item(st, item);
    st.mark = item;
  } else if (!(wp & (MK_CONTROL | MK_SHIFT))) {
    select_all(st, false);
  }
  st.rbutton_down = true;
}

void on_button_up(State& st, UINT msg, WPARAM, LPARAM) {
  const HWND hwnd = st.hwnd;
  if (msg == WM_LBUTTONUP) {
    if (!st.lbutton_down) return;
    st.lbutton_down = false;
    if (GetCapture() == hwnd) ReleaseCapture();
    const int item = st.down_item;
    notify_activate(st, NM_CLICK, item, st.down_subitem, st.down_point, flags_of(st.down_keys));
    if (!IsWindow(hwnd)) return;
    const bool activate = (st.ex_style & LVS_EX_ONECLICKACTIVATE) ||
                          ((st.ex_style & LVS_EX_TWOCLICKACTIVATE) && st.down_was_selected);
    if (item >= 0 && valid_item(st, item) && activate)
      notify_activate(st, LVN_ITEMACTIVATE, item, st.down_subitem, st.down_point, flags_of(st.down_keys));
    if (IsWindow(hwnd) && st.edit_on_release) SetTimer(hwnd, kEditTimer, GetDoubleClickTime(), nullptr);
    st.edit_on_release = false;
    return;
  }
  if (!st.rbutton_down) return;
  st.rbutton_down = false;
  const LRESULT handled =
      notify_activate(st, NM_RCLICK, st.down_item, st.down_subitem, st.down_point, flags_of(st.down_keys));
  if (!handled && IsWindow(hwnd)) {
    POINT screen = st.down_point;
    ClientToScreen(hwnd, &screen);
    if (HWND parent = GetParent(hwnd))
      SendMessageA(parent, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd),
                   MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
  }
}

void on_double_click(State& st, UINT msg, WPARAM wp, LPARAM lp) {
  const HWND hwnd = st.hwnd;
  KillTimer(hwnd, kEditTimer);
  st.edit_on_release = false;
  const POINT p = point_of(lp);
  LVHITTESTINFO hit{};
  hit.pt = p;
  const int item = hit_test(st, hit, false);
  const int subitem = subitem_at(st, p);
  if (msg == WM_RBUTTONDBLCLK) {
    notify_activate(st, NM_RDBLCLK, item, subitem, p, flags_of(wp));
    return;
  }
  if (GetFocus() != hwnd) SetFocus(hwnd);
  if (item >= 0 && (hit.flags & LVHT_ONITEMSTATEICON) && (st.ex_style & LVS_EX_CHECKBOXES))
    toggle_check(st, item);
  else
    click_select(st, item, wp);
  st.lbutton_down = false;
  if (!IsWindow(hwnd)) return;
  notify_activate(st, NM_DBLCLK, item, subitem, p, flags_of(wp));
  if (IsWindow(hwnd) && item >= 0 && valid_item(st, item) && !(st.ex_style & LVS_EX_ONECLICKACTIVATE))
    notify_activate(st, LVN_ITEMACTIVATE, item, subitem, p, flags_of(wp));
}

void on_mouse_move(State& st, WPARAM, LPARAM lp) {
  const POINT p = point_of(lp);
  if (st.lbutton_down) {
    // Dragging an item hands it to the owner; no click follows.
    const int dx = std::abs(p.x - st.down_point.x);
    const int dy = std::abs(p.y - st.down_point.y);
    if (st.down_item >= 0 && (dx > GetSystemMetrics(SM_CXDRAG) || dy > GetSystemMetrics(SM_CYDRAG))) {
      st.lbutton_down = false;
      st.edit_on_release = false;
      if (GetCapture() == st.hwnd) ReleaseCapture();
      notify_item(st, LVN_BEGINDRAG, st.down_item, 0, st.down_point);
    }
    return;
  }
  if (!st.leave_tracking) {
    TRACKMOUSEEVENT tme{};
    tme.cbSize = sizeof(tme);
    tme.dwFlags = TME_LEAVE;
    tme.hwndTrack = st.hwnd;
    st.leave_tracking = TrackMouseEvent(&tme) != FALSE;
  }
  LVHITTESTINFO hit{};
  hit.pt = p;
  const int item = hit_test(st, hit, false);
  if (st.ex_style & kHotTrackingStyles) set_hot(st, item);
  if (item != st.hover_item) {
    st.hover_item = item;
    if (st.tip_item != item) hide_tip(st);
    if (item >= 0 && (st.ex_style & (LVS_EX_INFOTIP | LVS_EX_TRACKSELECT)))
      SetTimer(st.hwnd, kHoverTimer, kHoverMs, nullptr);
    else
      KillTimer(st.hwnd, kHoverTimer);
  }
}

void on_mouse_leave(State& st) {
  st.leave_tracking = false;
  st.hover_item = -1;
  KillTimer(st.hwnd, kHoverTimer);
  const int old = st.hot;
  st.hot = -1;
  invalidate_item(st, old);
  hide_tip(st);
}

void on_hover_timer(State& st) {
  KillTimer(st.hwnd, kHoverTimer);
  const int item = st.hover_item;
  if (!valid_item(st, item) || st.lbutton_down) return;
  if ((st.ex_style & LVS_EX_TRACKSELECT) && !get_state(st, item, LVIS_SELECTED)) {
    select_only(st, item, true);
    set_focus_item(st, item);
    st.mark = item;
  }
  if (!(st.ex_style & LVS_EX_INFOTIP) || !valid_item(st, item)) return;
  std::string buffer(kInfoTipSize, '\0');
  NMLVGETINFOTIPA tip{};
  tip.dwFlags = LVGIT_UNFOLDED;
  // A label cut short by its column is offered in full; the owner may add to it or replace it.
  const std::string_view label = cell_text(st, item, 0);
  if (label_truncated(st, item, label)) {
    tip.dwFlags = 0;
    label.copy(buffer.data(), std::min(label.size(), buffer.size() - 1));
  }
  tip.pszText = buffer.data();
  tip.cchTextMax = kInfoTipSize;
  tip.iItem = item;
  tip.lParam = st.rows[static_cast<std::size_t>(item)].param;
  notify(st, tip.hdr, LVN_GETINFOTIPA);
  if (!IsWindow(st.hwnd) || !tip.pszText) return;
  buffer.back() = '\0';
  const std::string text =
      tip.pszText == buffer.data() ? std::string(buffer.c_str()) : std::string(tip.pszText);
  if (text.empty()) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  st.tip_item = item;
  show_tip(st, text, cursor);
}

bool on_set_cursor(State& st) {
  if (!(st.ex_style & (LVS_EX_ONECLICKACTIVATE | LVS_EX_TWOCLICKACTIVATE))) return false;
  // WM_SETCURSOR comes before the move that updates the hot row, so look under the mouse now.
  LVHITTESTINFO hit{};
  GetCursorPos(&hit.pt);
  ScreenToClient(st.hwnd, &hit.pt);
  if (hit_test(st, hit, false) < 0) return false;
  SetCursor(st.hot_cursor ? st.hot_cursor : LoadCursorA(nullptr, IDC_HAND));
  return true;
}

}  // namespace platform::controls::listview
