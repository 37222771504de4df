// The "BUTTON" window class: behaviour (mouse, keyboard, state messages, notifications).
// Painting lives in button_paint.cpp.
#include "platform/controls/button.h"

#include "platform/controls/button_paint.h"
#include "platform/controls/control_common.h"
#include "platform/winsys/system_classes.h"

namespace platform::controls {

ButtonStyle read_button_style(DWORD style) {
  ButtonStyle s;
  switch (style & BS_TYPEMASK) {
    case BS_DEFPUSHBUTTON:
      s.is_default = true;
      break;
    case BS_CHECKBOX:
      s.kind = ButtonKind::kCheck;
      break;
    case BS_AUTOCHECKBOX:
      s.kind = ButtonKind::kCheck, s.automatic = true;
      break;
    case BS_RADIOBUTTON:
      s.kind = ButtonKind::kRadio;
      break;
    case BS_AUTORADIOBUTTON:
      s.kind = ButtonKind::kRadio, s.automatic = true;
      break;
    case BS_3STATE:
      s.kind = ButtonKind::kCheck, s.three_state = true;
      break;
    case BS_AUTO3STATE:
      s.kind = ButtonKind::kCheck, s.three_state = true, s.automatic = true;
      break;
    case BS_GROUPBOX:
      s.kind = ButtonKind::kGroup;
      break;
    case BS_OWNERDRAW:
      s.kind = ButtonKind::kOwnerDraw;
      break;
    default:
      break;  // push button, push box and user button all behave as push buttons
  }
  s.push_like = (style & BS_PUSHLIKE) && (s.kind == ButtonKind::kCheck || s.kind == ButtonKind::kRadio);
  return s;
}

namespace {

StateTable<ButtonState>& states() {
  static StateTable<ButtonState> table;
  return table;
}

ButtonStyle style_of(HWND hwnd) {
  return read_button_style(window_style(hwnd));
}

void redraw(HWND hwnd) {
  InvalidateRect(hwnd, nullptr, FALSE);
}

bool notifies(HWND hwnd) {
  return (window_style(hwnd) & BS_NOTIFY) != 0;
}

bool is_radio(HWND hwnd) {
  return (SendMessageA(hwnd, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0;
}

// The radio buttons of `hwnd`'s group: siblings from the nearest WS_GROUP at or before it up to
// the next WS_GROUP.
void uncheck_group_siblings(HWND hwnd) {
  HWND first = hwnd;
  while (!(window_style(first) & WS_GROUP)) {
    HWND previous = GetWindow(first, GW_HWNDPREV);
    if (!previous) break;
    first = previous;
  }
  for (HWND w = first; w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (w != first && (window_style(w) & WS_GROUP)) break;
    if (w != hwnd && is_radio(w) && SendMessageA(w, BM_GETCHECK, 0, 0) != BST_UNCHECKED) {
      SendMessageA(w, BM_SETCHECK, BST_UNCHECKED, 0);
    }
  }
}

// A completed click: auto kinds update their check state, then the parent hears BN_CLICKED.
void click(HWND hwnd) {
  ButtonStyle look = style_of(hwnd);
  if (look.automatic) {
    auto check = static_cast<WPARAM>(SendMessageA(hwnd, BM_GETCHECK, 0, 0));
    if (look.kind == ButtonKind::kRadio) {
      if (check != BST_CHECKED) SendMessageA(hwnd, BM_SETCHECK, BST_CHECKED, 0);
      uncheck_group_siblings(hwnd);
    } else if (look.three_state) {
      SendMessageA(hwnd, BM_SETCHECK, (check + 1) % 3, 0);
    } else {
      SendMessageA(hwnd, BM_SETCHECK, check == BST_UNCHECKED ? BST_CHECKED : BST_UNCHECKED, 0);
    }
  }
  if (IsWindow(hwnd)) notify_parent(hwnd, BN_CLICKED);
}

LRESULT on_get_dlg_code(HWND hwnd) {
  ButtonStyle look = style_of(hwnd);
  switch (look.kind) {
    case ButtonKind::kPush:
      return DLGC_BUTTON | (look.is_default ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    case ButtonKind::kRadio:
      return DLGC_BUTTON | DLGC_RADIOBUTTON;
    case ButtonKind::kGroup:
      return DLGC_STATIC;
    case ButtonKind::kCheck:
    case ButtonKind::kOwnerDraw:
      return DLGC_BUTTON;
  }
  return DLGC_BUTTON;
}

LRESULT on_set_check(HWND hwnd, ButtonState& state, WPARAM check) {
  ButtonStyle look = style_of(hwnd);
  if (look.kind != ButtonKind::kCheck && look.kind != ButtonKind::kRadio) return 0;
  WPARAM wanted = check & 3;
  if (wanted == 3) return 0;
  if (wanted == BST_INDETERMINATE && !look.three_state) wanted = BST_CHECKED;
  if (state.check != wanted) {
    state.check = wanted;
    redraw(hwnd);
  }
  return 0;
}

LRESULT on_set_state(HWND hwnd, ButtonState& state, bool pushed) {
  if (state.pushed != pushed) {
    state.pushed = pushed;
    redraw(hwnd);
  }
  return 0;
}

LRESULT on_set_style(HWND hwnd, WPARAM style, LPARAM repaint) {
  DWORD old = window_style(hwnd);
  DWORD updated = (old & 0xFFFF0000u) | (static_cast<DWORD>(style) & 0xFFFFu);
  if (updated != old) SetWindowLongA(hwnd, GWL_STYLE, static_cast<LONG>(updated));
  if (repaint) redraw(hwnd);
  return 0;
}

LRESULT on_set_image(HWND hwnd, ButtonState& state, WPARAM type, LPARAM image) {
  HANDLE previous = nullptr;
  if (type == IMAGE_ICON || type == IMAGE_CURSOR) {
    previous = state.icon;
    state.icon = reinterpret_cast<HICON>(image);
  } else if (type == IMAGE_BITMAP) {
    previous = state.bitmap;
    state.bitmap = reinterpret_cast<HBITMAP>(image);
  } else {
    return 0;
  }
  redraw(hwnd);
  return reinterpret_cast<LRESULT>(previous);
}

LRESULT on_get_image(const ButtonState& state, WPARAM type) {
  if (type == IMAGE_ICON || type == IMAGE_CURSOR) return reinterpret_cast<LRESULT>(state.icon);
  if (type == IMAGE_BITMAP) return reinterpret_cast<LRESULT>(state.bitmap);
  return 0;
}

void press_with_mouse(HWND hwnd) {
  if (GetFocus() != hwnd) SetFocus(hwnd);
  auto state = states().find(hwnd);
  if (!state || !IsWindowEnabled(hwnd)) return;
  SetCapture(hwnd);
  state->mouse_held = true;
  SendMessageA(hwnd, BM_SETSTATE, TRUE, 0);
}

void on_left_button_down(HWND hwnd, bool double_click) {
  ButtonStyle look = style_of(hwnd);
  if (look.kind == ButtonKind::kGroup) return;
  if (double_click &&
      (notifies(hwnd) || look.kind == ButtonKind::kRadio || look.kind == ButtonKind::kOwnerDraw)) {
    notify_parent(hwnd, BN_DOUBLECLICKED);
    if (!IsWindow(hwnd)) return;
    // Radio and owner-drawn buttons treat the second press as the double click only.
    if (look.kind == ButtonKind::kRadio || look.kind == ButtonKind::kOwnerDraw) return;
  }
  press_with_mouse(hwnd);
}

void on_mouse_move(HWND hwnd, LPARAM where) {
  auto state = states().find(hwnd);
  if (!state || !state->mouse_held) return;
  bool inside = point_in(client_rect(hwnd), POINT{GET_X_LPARAM(where), GET_Y_LPARAM(where)});
  if (inside != state->pushed) SendMessageA(hwnd, BM_SETSTATE, inside, 0);
}

void on_left_button_up(HWND hwnd, LPARAM where) {
  auto state = states().find(hwnd);
  if (!state || !state->mouse_held) return;
  state->mouse_held = false;
  bool inside = point_in(client_rect(hwnd), POINT{GET_X_LPARAM(where), GET_Y_LPARAM(where)});
  if (GetCapture() == hwnd) ReleaseCapture();
  SendMessageA(hwnd, BM_SETSTATE, FALSE, 0);
  if (inside && IsWindow(hwnd)) click(hwnd);
}

void on_capture_changed(HWND hwnd, LPARAM new_owner) {
  auto state = states().find(hwnd);
  if (!state || !state->mouse_held || reinterpret_cast<HWND>(new_owner) == hwnd) return;
  state->mouse_held = false;
  SendMessageA(hwnd, BM_SETSTATE, FALSE, 0);
}

void on_key_down(HWND hwnd, WPARAM key, LPARAM flags) {
  if (key != VK_SPACE || (flags & (1 << 30))) return;  // ignore auto-repeat
  auto state = states().find(hwnd);
  if (!state || style_of(hwnd).kind == ButtonKind::kGroup) return;
  state->space_held = true;
  SendMessageA(hwnd, BM_SETSTATE, TRUE, 0);
}

void on_key_up(HWND hwnd, WPARAM key) {
  if (key != VK_SPACE) return;
  auto state = states().find(hwnd);
  if (!state || !state->space_held) return;
  state->space_held = false;
  bool was_pushed = state->pushed;
  SendMessageA(hwnd, BM_SETSTATE, FALSE, 0);
  if (was_pushed && IsWindow(hwnd)) click(hwnd);
}

void on_focus(HWND hwnd, bool gained) {
  auto state = states().find(hwnd);
  if (!state) return;
  state->focused = gained;
  bool was_held = state->mouse_held || state->space_held;
  if (!gained && was_held) {
    state->mouse_held = false;
    state->space_held = false;
    if (GetCapture() == hwnd) ReleaseCapture();
    SendMessageA(hwnd, BM_SETSTATE, FALSE, 0);
  }
  redraw(hwnd);
  if (IsWindow(hwnd) && notifies(hwnd)) notify_parent(hwnd, gained ? BN_SETFOCUS : BN_KILLFOCUS);
}

void on_paint(HWND hwnd, HDC given) {
  auto state = states().find(hwnd);
  if (!state) return;
  if (given) {
    paint_button(hwnd, given, *state);
    return;
  }
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(hwnd, &ps);
  if (dc) paint_button(hwnd, dc, *state);
  EndPaint(hwnd, &ps);
}

LRESULT handle(HWND hwnd, ButtonState* state, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
      on_paint(hwnd, reinterpret_cast<HDC>(wp));
      return 0;
    case WM_PRINTCLIENT:
      on_paint(hwnd, reinterpret_cast<HDC>(wp));
      return 0;
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers every pixel
    case WM_NCHITTEST:
      if (style_of(hwnd).kind == ButtonKind::kGroup) return HTTRANSPARENT;
      break;
    case WM_GETDLGCODE:
      return on_get_dlg_code(hwnd);
    case WM_LBUTTONDOWN:
      on_left_button_down(hwnd, false);
      return 0;
    case WM_LBUTTONDBLCLK:
      on_left_button_down(hwnd, true);
      return 0;
    case WM_MOUSEMOVE:
      on_mouse_move(hwnd, lp);
      return 0;
    case WM_LBUTTONUP:
      on_left_button_up(hwnd, lp);
      return 0;
    case WM_CAPTURECHANGED:
      on_capture_changed(hwnd, lp);
      return 0;
    case WM_KEYDOWN:
      on_key_down(hwnd, wp, lp);
      return 0;
    case WM_KEYUP:
      on_key_up(hwnd, wp);
      return 0;
    case WM_SETFOCUS:
      on_focus(hwnd, true);
      return 0;
    case WM_KILLFOCUS:
      on_focus(hwnd, false);
      return 0;
    case WM_ENABLE:
      if (!wp && (state->pushed || state->mouse_held || state->space_held)) {
        state->mouse_held = state->space_held = false;
        if (GetCapture() == hwnd) ReleaseCapture();
        SendMessageA(hwnd, BM_SETSTATE, FALSE, 0);
      }
      redraw(hwnd);
      return 0;
    case WM_SETTEXT: {
      LRESULT result = DefWindowProcA(hwnd, msg, wp, lp);
      redraw(hwnd);
      return result;
    }
    case WM_SETFONT:
      state->font = reinterpret_cast<HFONT>(wp);
      if (lp) redraw(hwnd);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(state->font);
    case BM_GETCHECK:
      return static_cast<LRESULT>(state->check);
    case BM_SETCHECK:
      return on_set_check(hwnd, *state, wp);
    case BM_GETSTATE:
      return static_cast<LRESULT>(state->check | (state->pushed ? BST_PUSHED : 0) |
                                  (state->focused ? BST_FOCUS : 0));
    case BM_SETSTATE:
      return on_set_state(hwnd, *state, wp != 0);
    case BM_SETSTYLE:
      return on_set_style(hwnd, wp, lp);
    case BM_CLICK:
      if (IsWindowEnabled(hwnd) && style_of(hwnd).kind != ButtonKind::kGroup) click(hwnd);
      return 0;
    case BM_SETIMAGE:
      return on_set_image(hwnd, *state, wp, lp);
    case BM_GETIMAGE:
      return on_get_image(*state, wp);
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT CALLBACK button_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return states().serve(hwnd, msg, wp, lp,
                        [&](ButtonState& state) { return handle(hwnd, &state, msg, wp, lp); });
}

}  // namespace

void register_button_class() {
  register_control_class(kButtonClass, button_proc, CS_GLOBALCLASS | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
}

namespace {
const bool kRegistered = winsys::add_system_classes(&register_button_class);
}  // namespace

}  // namespace platform::controls
