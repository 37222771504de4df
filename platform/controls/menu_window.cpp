// The pop-up menu window class.
#include "platform/controls/menu_window.h"

#include "platform/controls/control_common.h"

namespace platform::controls::menu {
namespace {

struct PopupState {
  HMENU handle = nullptr;
  Menu menu;
  PopupLayout layout;
  HWND owner = nullptr;
  int selected = -1;
};

StateTable<PopupState>& states() {
  static StateTable<PopupState> table;
  return table;
}

// What the creation call hands to WM_NCCREATE.
struct CreateArgs {
  HMENU handle;
  const Menu* menu;
  const PopupLayout* layout;
  HWND owner;
};

void paint(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  if (!dc) return;
  auto s = states().find(hwnd);
  if (s) {
    // A copy: an owner-drawn item's WM_DRAWITEM may run any code, even EndMenu.
    PopupState copy = *s;
    paint_popup(dc, copy.handle, copy.menu, copy.layout, copy.selected, copy.owner);
  }
  EndPaint(hwnd, &ps);
}

LRESULT CALLBACK popup_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCCREATE: {
      auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
      auto* args = cs ? static_cast<const CreateArgs*>(cs->lpCreateParams) : nullptr;
      if (!args) return FALSE;
      auto s = states().attach(hwnd);
      s->handle = args->handle;
      s->menu = *args->menu;
      s->layout = *args->layout;
      s->owner = args->owner;
      return TRUE;
    }
    case WM_NCDESTROY:
      states().detach(hwnd);
      return 0;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_ERASEBKGND:
      return 1;  // painting covers everything
    case WM_PAINT:
      paint(hwnd);
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wp, lp);
  }
}

}  // namespace

HWND create_popup_window(HWND owner, POINT screen, HMENU handle, const Menu& menu,
                         const PopupLayout& layout) {
  CreateArgs args{handle, &menu, &layout, owner};
  HWND hwnd = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kPopupMenuClass, "", WS_POPUP, screen.x,
                              screen.y, layout.size.cx, layout.size.cy, owner, nullptr, nullptr, &args);
  if (!hwnd) return nullptr;
  SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  UpdateWindow(hwnd);
  return hwnd;
}

void set_popup_selection(HWND popup, int selected) {
  auto s = states().find(popup);
  if (!s || s->selected == selected) return;
  s->selected = selected;
  InvalidateRect(popup, nullptr, FALSE);
  UpdateWindow(popup);
}

void register_popup_class() {
  register_control_class(kPopupMenuClass, popup_proc, CS_SAVEBITS | CS_DBLCLKS);
}

}  // namespace platform::controls::menu
