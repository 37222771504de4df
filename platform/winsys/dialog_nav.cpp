// Keyboard navigation in dialog-like windows: Tab and Shift+Tab between WS_TABSTOP controls,
// the arrows within a group, Enter for the default button and Escape for IDCANCEL.
#include "platform/api/input.h"
#include "platform/winsys/window_internal.h"

namespace platform::winsys {
namespace {

bool is_candidate(HWND h) {
  LONG_PTR style = GetWindowLongPtrA(h, GWL_STYLE);
  return (style & WS_VISIBLE) && !(style & WS_DISABLED);
}

std::vector<HWND> controls_of(HWND dialog) {
  std::vector<HWND> out;
  for (HWND h = GetWindow(dialog, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) out.push_back(h);
  return out;
}

// The control of `dialog` that holds (or contains) the focus.
HWND focused_control(HWND dialog) {
  HWND f = GetFocus();
  while (f && GetAncestor(f, GA_PARENT) != dialog) {
    if (!(GetWindowLongPtrA(f, GWL_STYLE) & WS_CHILD)) return nullptr;
    f = GetAncestor(f, GA_PARENT);
  }
  return f;
}

HWND next_tab(HWND dialog, HWND from, bool backwards) {
  auto list = controls_of(dialog);
  if (list.empty()) return nullptr;
  std::size_t n = list.size();
  std::size_t start = 0;
  for (std::size_t i = 0; i < n; ++i)
    if (list[i] == from) start = i;
  for (std::size_t step = 1; step <= n; ++step) {
    std::size_t i = backwards ? (start + n - step) % n : (start + step) % n;
    if (!from && !backwards) i = (step - 1) % n;
    HWND h = list[i];
    if (is_candidate(h) && (GetWindowLongPtrA(h, GWL_STYLE) & WS_TABSTOP)) return h;
  }
  return nullptr;
}

HWND next_in_group(HWND dialog, HWND from, bool backwards) {
  auto list = controls_of(dialog);
  std::size_t n = list.size();
  std::size_t at = n;
  for (std::size_t i = 0; i < n; ++i)
    if (list[i] == from) at = i;
  if (at == n) return nullptr;
  // A group runs from a WS_GROUP control up to the next one.
  std::size_t first = at;
  while (first > 0 && !(GetWindowLongPtrA(list[first], GWL_STYLE) & WS_GROUP)) --first;
  std::size_t last = at;
  while (last + 1 < n && !(GetWindowLongPtrA(list[last + 1], GWL_STYLE) & WS_GROUP)) ++last;
  std::size_t size = last - first + 1;
  for (std::size_t step = 1; step < size; ++step) {
    std::size_t off = at - first;
    std::size_t i = first + (backwards ? (off + size - step) % size : (off + step) % size);
    if (is_candidate(list[i])) return list[i];
  }
  return nullptr;
}

}  // namespace
}  // namespace platform::winsys

using namespace platform::winsys;

extern "C" BOOL IsDialogMessageA(HWND dialog, LPMSG msg) {
  if (!msg || !IsWindow(dialog)) return FALSE;
  if (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd)) return FALSE;
  if (msg->message == WM_KEYDOWN) {
    LRESULT code =
        msg->hwnd ? SendMessageA(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg)) : 0;
    if (code & (DLGC_WANTMESSAGE | DLGC_WANTALLKEYS)) {
      DispatchMessageA(msg);
      return TRUE;
    }
    HWND current = focused_control(dialog);
    switch (msg->wParam) {
      case VK_TAB:
        if (code & DLGC_WANTTAB) break;
        if (HWND next = next_tab(dialog, current, GetKeyState(VK_SHIFT) < 0)) {
          SetFocus(next);
          if (SendMessageA(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
            SendMessageA(next, 0x00B1 /*EM_SETSEL*/, 0, -1);
        }
        return TRUE;
      case VK_LEFT:
      case VK_UP:
      case VK_RIGHT:
      case VK_DOWN:
        if (code & DLGC_WANTARROWS) break;
        if (current)
          if (HWND next = next_in_group(dialog, current, msg->wParam == VK_LEFT || msg->wParam == VK_UP)) {
            SetFocus(next);
            if (SendMessageA(next, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)
              SendMessageA(next, 0x00F5 /*BM_CLICK*/, 0, 0);
          }
        return TRUE;
      case VK_RETURN: {
        LRESULT def = SendMessageA(dialog, DM_GETDEFID, 0, 0);
        int id =
            HIWORD(static_cast<DWORD_PTR>(def)) == DC_HASDEFID ? LOWORD(static_cast<DWORD_PTR>(def)) : IDOK;
        if (current && (SendMessageA(current, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON))
          id = GetDlgCtrlID(current);
        HWND button = GetDlgItem(dialog, id);
        if (button && !IsWindowEnabled(button)) return TRUE;
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), 0),
                     reinterpret_cast<LPARAM>(button));
        return TRUE;
      }
      case VK_ESCAPE:
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
        return TRUE;
      default:
        break;
    }
  }
  TranslateMessage(msg);
  DispatchMessageA(msg);
  return TRUE;
}
