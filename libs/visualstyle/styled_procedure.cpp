// The replacement window procedure: a per-type decision turns each message into action bits,
// which then run in a fixed order (state update, previous procedure, default procedure, paint,
// the two procedures again, a fixed answer).
#include "libs/visualstyle/control_record.h"
#include "libs/visualstyle/painters.h"
#include "libs/visualstyle/subclassing.h"
#include "platform/api/controls.h"
#include "platform/api/edit.h"
#include "platform/api/input.h"

namespace libs::visualstyle {
namespace {

namespace action {
constexpr std::uint32_t kCommon = 0x10000;
constexpr std::uint32_t kPrevious = 0x20000;
constexpr std::uint32_t kDefault = 0x40000;
constexpr std::uint32_t kPaint = 0x80000;
constexpr std::uint32_t kPreviousAfter = 0x100000;
constexpr std::uint32_t kDefaultAfter = 0x200000;
constexpr std::uint32_t kAnswer = 0x800000;
constexpr std::uint32_t kAnswerMask = 0xFFFF;
}  // namespace action

void set_flag(ControlRecord& r, std::uint32_t bits, bool on) {
  r.flags = on ? (r.flags | bits) : (r.flags & ~bits);
}

void track_leave(HWND window) {
  TRACKMOUSEEVENT track{};
  track.cbSize = sizeof track;
  track.dwFlags = TME_LEAVE;
  track.hwndTrack = window;
  TrackMouseEvent(&track);
}

DWORD style_of(HWND window) {
  return static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
}

// The control itself ignores a check on push buttons and shows a third state only on
// three-state boxes; the record follows what the control will show.
void take_check(ControlRecord& r, WPARAM check) {
  const DWORD kind = style_of(r.window) & BS_TYPEMASK;
  if (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON) return;
  const bool three_state = kind == BS_3STATE || kind == BS_AUTO3STATE;
  set_flag(r, flag::kChecked, check == BST_CHECKED || (check == BST_INDETERMINATE && !three_state));
  set_flag(r, flag::kIndeterminate, check == BST_INDETERMINATE && three_state);
}

std::uint32_t button_decision(ControlRecord& r, UINT msg, WPARAM wp) {
  switch (msg) {
    case WM_SETTEXT:
    case WM_PAINT:
      return action::kDefault | action::kPaint;
    case WM_ERASEBKGND:
      return action::kPrevious;
    case BM_SETCHECK:
      take_check(r, wp);
      return action::kPrevious | action::kPaint;
    case BM_SETSTATE:
      set_flag(r, flag::kPressed, wp != 0);
      return action::kPrevious | action::kPaint;
    case BM_SETSTYLE:
      set_flag(r, flag::kDefault, (wp & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
      return action::kPrevious | action::kPaint;
    default:
      return action::kCommon;
  }
}

std::uint32_t edit_decision(ControlRecord& r, UINT msg) {
  switch (msg) {
    case WM_PAINT:
    case WM_NCPAINT:
    case WM_HSCROLL:
    case WM_VSCROLL:
      return action::kPrevious | action::kPaint;
    case WM_NCMOUSEMOVE:
      if (!(r.flags & flag::kMouseOver)) track_leave(r.window);
      set_flag(r, flag::kMouseOver, true);
      return action::kDefault | action::kPaint;
    case WM_MOUSELEAVE:
      set_flag(r, flag::kMouseOver, false);
      return action::kDefault | action::kPaint;
    default:
      return action::kCommon;
  }
}

std::uint32_t combo_decision(ControlRecord& r, UINT msg) {
  switch (msg) {
    case WM_PAINT:
    case WM_NCPAINT:
      return action::kPrevious | action::kPaint;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      set_flag(r, flag::kPressed, msg == WM_LBUTTONDOWN);
      return action::kPrevious | action::kPaint;
    default:
      return action::kCommon;
  }
}

bool over_first_half(HWND window, std::uint32_t flags, LPARAM lp) {
  RECT client{};
  GetClientRect(window, &client);
  if (flags & flag::kHorizontal) return GET_X_LPARAM(lp) < client.right / 2;
  return GET_Y_LPARAM(lp) < client.bottom / 2;
}

std::uint32_t up_down_decision(ControlRecord& r, UINT msg, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
    case WM_NCPAINT:
      return action::kDefault | action::kPaint;
    case WM_ERASEBKGND:
      return action::kAnswer | 1;  // the painter covers every pixel
    case WM_MOUSEMOVE: {
      const std::uint32_t before = r.flags;
      set_flag(r, flag::kOverFirstHalf, over_first_half(r.window, r.flags, lp));
      return action::kCommon | (before != r.flags ? action::kPaint : 0);
    }
    case WM_LBUTTONUP:
      set_flag(r, flag::kPressed, false);
      return action::kPrevious | action::kPaint;
    default:
      return action::kCommon;
  }
}

std::uint32_t framed_decision(UINT msg, std::uint32_t own_procedure) {
  if (msg == WM_PAINT || msg == WM_NCPAINT) return own_procedure | action::kPaint;
  return action::kCommon;
}

std::uint32_t decide(ControlRecord& r, UINT msg, WPARAM wp, LPARAM lp) {
  switch (r.type) {
    case ControlType::kPushButton:
    case ControlType::kCheckBox:
    case ControlType::kRadioButton:
      return button_decision(r, msg, wp);
    case ControlType::kEdit:
      return edit_decision(r, msg);
    case ControlType::kComboBox:
      return combo_decision(r, msg);
    case ControlType::kUpDown:
      return up_down_decision(r, msg, lp);
    case ControlType::kGroupBox:
      return framed_decision(msg, action::kDefault);
    case ControlType::kDropList:
      return framed_decision(msg, action::kPrevious);
    default:
      return action::kCommon;
  }
}

// Focus, enabling and the mouse: flags kept for every type. The control still sees the message;
// a change of look is painted through the normal paint path.
LRESULT common_update(HWND window, UINT msg, WPARAM wp, LPARAM lp, WNDPROC previous) {
  if (ControlRecord* r = find_record(window)) {
    const std::uint32_t before = r->flags;
    switch (msg) {
      case WM_SETFOCUS:
      case WM_KILLFOCUS:
        set_flag(*r, flag::kFocused, msg == WM_SETFOCUS);
        break;
      case WM_ENABLE:
        set_flag(*r, flag::kDisabled, wp == 0);
        break;
      case WM_MOUSEMOVE:
        if (!(r->flags & flag::kMouseOver) && !(wp & MK_LBUTTON)) {
          track_leave(window);
          r->flags |= flag::kMouseOver;
        }
        break;
      case WM_MOUSELEAVE:
        set_flag(*r, flag::kMouseOver, false);
        break;
      default:
        break;
    }
    if (r->flags != before) RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
  }
  return CallWindowProcA(previous, window, msg, wp, lp);
}

// Asks the parent for the colours the control is drawn with, as a classic button would.
void refresh_colours(HWND window, WPARAM erase_dc) {
  HWND parent = GetParent(window);
  if (parent == nullptr) return;
  auto dc = reinterpret_cast<HDC>(erase_dc);
  const bool own_dc = dc == nullptr;
  if (own_dc) dc = GetDC(window);
  if (dc == nullptr) return;
  const LRESULT brush =
      SendMessageA(parent, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(window));
  const COLORREF text = GetTextColor(dc);
  if (own_dc) ReleaseDC(window, dc);
  if (ControlRecord* r = find_record(window)) {
    r->brush = reinterpret_cast<HBRUSH>(brush);
    r->text_colour = text;
  }
}

bool active(HWND window) {
  const ControlRecord* r = find_record(window);
  return r != nullptr && !r->forwarding;
}

void paint_now(HWND window) {
  const ControlRecord* r = find_record(window);
  if (r == nullptr || r->forwarding) return;
  const ControlRecord copy = *r;  // painting asks the control for its font and image
  paint_control(window, copy);
}

LRESULT run_actions(HWND window, std::uint32_t actions, UINT msg, WPARAM wp, LPARAM lp, WNDPROC previous) {
  LRESULT result = 0;
  // Each step runs only while the window is still styled: a procedure may destroy it or switch
  // the styles off.
  if (actions & action::kCommon) result = common_update(window, msg, wp, lp, previous);
  if ((actions & action::kPrevious) && active(window))
    result = CallWindowProcA(previous, window, msg, wp, lp);
  if ((actions & action::kDefault) && active(window)) result = DefWindowProcA(window, msg, wp, lp);
  if (actions & action::kPaint) paint_now(window);
  if ((actions & action::kPreviousAfter) && active(window))
    result = CallWindowProcA(previous, window, msg, wp, lp);
  if ((actions & action::kDefaultAfter) && active(window)) result = DefWindowProcA(window, msg, wp, lp);
  if (actions & action::kAnswer) result = static_cast<LRESULT>(actions & action::kAnswerMask);
  return result;
}

// The up-down runs its own press (capture, stepping); the pressed half is shown afterwards.
LRESULT up_down_press(HWND window, WPARAM wp, LPARAM lp, WNDPROC previous) {
  const LRESULT result = CallWindowProcA(previous, window, WM_LBUTTONDOWN, wp, lp);
  if (ControlRecord* r = find_record(window); r != nullptr && !r->forwarding) {
    r->flags |= flag::kPressed;
    set_flag(*r, flag::kOverFirstHalf, over_first_half(window, r->flags, lp));
    paint_now(window);
  }
  return result;
}

}  // namespace

LRESULT CALLBACK styled_procedure(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  ControlRecord* r = find_record(window);
  if (r == nullptr) return 0;
  const WNDPROC previous = r->previous;
  if (r->forwarding || msg == WM_NCDESTROY) {
    const LRESULT result = CallWindowProcA(previous, window, msg, wp, lp);
    if (msg == WM_NCDESTROY) remove_record(window);
    return result;
  }
  if (msg == WM_DESTROY) {
    const LRESULT result = CallWindowProcA(previous, window, msg, wp, lp);
    detach_destroyed(window);
    return result;
  }
  if (r->type == ControlType::kUpDown && msg == WM_LBUTTONDOWN)
    return up_down_press(window, wp, lp, previous);
  if (r->type == ControlType::kEdit && msg == EM_SETREADONLY)
    return CallWindowProcA(previous, window, msg, wp, lp);
  if (msg == WM_ERASEBKGND) {
    refresh_colours(window, wp);
    r = find_record(window);
    if (r == nullptr) return 0;
  }
  const std::uint32_t actions = decide(*r, msg, wp, lp);
  return run_actions(window, actions, msg, wp, lp, previous);
}

}  // namespace libs::visualstyle
