// In-place label editing with an EDIT child: Enter or focus loss commits, Esc cancels.
#include <algorithm>
#include <cstring>
#include <string>

#include "platform/controls/listview_state.h"

namespace platform::controls::listview {

namespace {

// The edit control's own numbers, used here by value so this file does not depend on its header.
constexpr DWORD kEditAutoHScroll = 0x0080;
constexpr UINT kEditSetSel = 0x00B1;
constexpr int kMinEditWidth = 60;

LRESULT edit_subclass(HWND e, UINT msg, WPARAM wp, LPARAM lp) {
  StatePtr st = find_state(GetParent(e));
  if (!st || !st->edit_proc) return DefWindowProcA(e, msg, wp, lp);
  const WNDPROC prev = st->edit_proc;
  switch (msg) {
    case WM_GETDLGCODE:
      return CallWindowProcA(prev, e, msg, wp, lp) | DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
      if (wp == VK_RETURN || wp == VK_ESCAPE) {
        if (st->edit == e) end_edit(*st, wp == VK_RETURN);
        return 0;
      }
      break;
    case WM_CHAR:
      if (wp == '\r' || wp == 0x1B) return 0;
      break;
    case WM_KILLFOCUS: {
      const LRESULT r = CallWindowProcA(prev, e, msg, wp, lp);
      if (st->edit == e) end_edit(*st, true);
      return r;
    }
    default:
      break;
  }
  return CallWindowProcA(prev, e, msg, wp, lp);
}

std::string window_text(HWND e) {
  const int len = std::max(0, GetWindowTextLengthA(e));
  std::string text(static_cast<std::size_t>(len) + 1, '\0');
  GetWindowTextA(e, text.data(), len + 1);
  text.resize(std::strlen(text.c_str()));
  return text;
}

RECT edit_box(State& st, int i) {
  RECT r = item_rect(st, i, LVIR_LABEL);
  const RECT client = client_rect(st);
  if (view_of(st) == LVS_ICON) r.bottom = r.top + st.text_height + 6;
  r.right = std::max<int>(r.right, r.left + kMinEditWidth);
  r.right = std::min(r.right, client.right);
  const int h = std::max<int>(r.bottom - r.top, st.text_height + 4);
  r.top = r.top + (static_cast<int>(r.bottom - r.top) - h) / 2;
  r.bottom = r.top + h;
  return r;
}

}  // namespace

HWND begin_edit(State& st, int i) {
  if (st.edit) end_edit(st, true);
  if (!valid_item(st, i)) return nullptr;
  KillTimer(st.hwnd, kEditTimer);
  hide_tip(st);
  ensure_visible(st, i, false);
  std::string text(cell_text(st, i, 0));
  NMLVDISPINFOA di{};
  di.item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_STATE | LVIF_IMAGE;
  di.item.iItem = i;
  di.item.pszText = text.data();
  di.item.cchTextMax = static_cast<int>(text.size()) + 1;
  di.item.state = st.rows[static_cast<std::size_t>(i)].state;
  di.item.lParam = st.rows[static_cast<std::size_t>(i)].param;
  di.item.iImage = cell_image(st, i, 0);
  if (notify(st, di.hdr, LVN_BEGINLABELEDITA)) return nullptr;
  if (!IsWindow(st.hwnd) || !valid_item(st, i)) return nullptr;
  const RECT r = edit_box(st, i);
  HWND e =
      CreateWindowExA(0, "EDIT", text.c_str(), WS_CHILD | WS_VISIBLE | WS_BORDER | kEditAutoHScroll, r.left,
                      r.top, r.right - r.left, r.bottom - r.top, st.hwnd, nullptr, nullptr, nullptr);
  if (!e) {
    // Keep begin and end paired for the owner even when no edit control can be made.
    NMLVDISPINFOA end{};
    end.item.mask = LVIF_TEXT;
    end.item.iItem = i;
    notify(st, end.hdr, LVN_ENDLABELEDITA);
    return nullptr;
  }
  SendMessageA(e, WM_SETFONT, reinterpret_cast<WPARAM>(st.font), FALSE);
  SendMessageA(e, kEditSetSel, 0, -1);
  st.edit_proc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(e, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&edit_subclass)));
  st.edit = e;
  st.edit_item = i;
  SetFocus(e);
  return e;
}

void end_edit(State& st, bool commit) {
  HWND e = st.edit;
  if (!e) return;
  const int item = st.edit_item;
  st.edit = nullptr;
  st.edit_item = -1;
  std::string text = commit ? window_text(e) : std::string();
  const bool had_focus = GetFocus() == e;
  ShowWindow(e, SW_HIDE);
  NMLVDISPINFOA di{};
  di.item.mask = LVIF_TEXT;
  di.item.iItem = item;
  di.item.pszText = commit ? text.data() : nullptr;
  di.item.cchTextMax = commit ? static_cast<int>(text.size()) + 1 : 0;
  if (valid_item(st, item)) di.item.lParam = st.rows[static_cast<std::size_t>(item)].param;
  const LRESULT accepted = notify(st, di.hdr, LVN_ENDLABELEDITA);
  if (!IsWindow(st.hwnd)) return;
  if (commit && accepted && valid_item(st, item)) {
    LVITEMA change{};
    change.mask = LVIF_TEXT;
    change.iItem = item;
    change.pszText = text.data();
    set_item(st, change);
  }
  // The edit may be inside its own window procedure right now: destroy it later.
  PostMessageA(st.hwnd, kDestroyEdit, reinterpret_cast<WPARAM>(e), 0);
  if (had_focus) SetFocus(st.hwnd);
}

}  // namespace platform::controls::listview
