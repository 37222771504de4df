// WM_NOTIFY messages from the list view to its parent.
#include "platform/controls/listview_state.h"

namespace platform::controls::listview {

LRESULT notify(State& st, NMHDR& hdr, UINT code) {
  hdr.hwndFrom = st.hwnd;
  hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(st.hwnd));
  hdr.code = code;
  HWND parent = GetParent(st.hwnd);
  if (!parent) return 0;
  return SendMessageA(parent, WM_NOTIFY, hdr.idFrom, reinterpret_cast<LPARAM>(&hdr));
}

namespace {

// A notice about `item`, carrying its application value when the item exists.
NMLISTVIEW item_notice(const State& st, int item) {
  NMLISTVIEW nm{};
  nm.iItem = item;
  if (valid_item(st, item)) nm.lParam = st.rows[static_cast<std::size_t>(item)].param;
  return nm;
}

}  // namespace

LRESULT notify_item(State& st, UINT code, int item, int subitem, POINT at) {
  NMLISTVIEW nm = item_notice(st, item);
  nm.iSubItem = subitem;
  nm.ptAction = at;
  return notify(st, nm.hdr, code);
}

LRESULT notify_change(State& st, UINT code, int item, UINT old_state, UINT new_state, UINT changed) {
  NMLISTVIEW nm = item_notice(st, item);
  nm.uOldState = old_state;
  nm.uNewState = new_state;
  nm.uChanged = changed;
  return notify(st, nm.hdr, code);
}

LRESULT notify_activate(State& st, UINT code, int item, int subitem, POINT at, UINT flags) {
  NMITEMACTIVATE nm{};
  nm.iItem = item;
  nm.iSubItem = subitem;
  nm.ptAction = at;
  nm.uKeyFlags = flags;
  if (valid_item(st, item)) {
    nm.lParam = st.rows[static_cast<std::size_t>(item)].param;
    nm.uNewState = nm.uOldState = st.rows[static_cast<std::size_t>(item)].state;
  }
  return notify(st, nm.hdr, code);
}

UINT key_flags() {
  UINT flags = 0;
  if (GetKeyState(VK_MENU) < 0) flags |= LVKF_ALT;
  if (GetKeyState(VK_CONTROL) < 0) flags |= LVKF_CONTROL;
  if (GetKeyState(VK_SHIFT) < 0) flags |= LVKF_SHIFT;
  return flags;
}

}  // namespace platform::controls::listview
