// The "msctls_updown32" window class: two arrow buttons that step a position within a range,
// with auto-repeat while an arrow is held, and an optional buddy window showing the number.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "platform/api/scrollbar.h"
#include "platform/controls/control_common.h"
#include "platform/controls/updown_state.h"
#include "platform/winsys/system_classes.h"

namespace platform::controls::updown {
namespace {

StateTable<State>& states() {
  static StateTable<State> table;
  return table;
}

DWORD style_of(const State& st) {
  return window_style(st.hwnd);
}

bool horizontal(const State& st) {
  return (style_of(st) & UDS_HORZ) != 0;
}

int low(const State& st) {
  return std::min(st.lower, st.upper);
}

int high(const State& st) {
  return std::max(st.lower, st.upper);
}

// The arrow under a client point: +1 up (right), -1 down (left).
int arrow_at(const State& st, POINT p) {
  const RECT r = client_rect(st.hwnd);
  if (horizontal(st)) return p.x >= (r.left + r.right) / 2 ? 1 : -1;
  return p.y < (r.top + r.bottom) / 2 ? 1 : -1;
}

RECT arrow_rect(const State& st, int arrow) {
  RECT r = client_rect(st.hwnd);
  if (horizontal(st)) {
    const LONG mid = (r.left + r.right) / 2;
    if (arrow > 0)
      r.left = mid;
    else
      r.right = mid;
  } else {
    const LONG mid = (r.top + r.bottom) / 2;
    if (arrow > 0)
      r.bottom = mid;
    else
      r.top = mid;
  }
  return r;
}

void send_scroll(State& st, int code) {
  HWND parent = GetParent(st.hwnd);
  if (!parent) return;
  SendMessageA(parent, horizontal(st) ? WM_HSCROLL : WM_VSCROLL,
               MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(st.pos)),
               reinterpret_cast<LPARAM>(st.hwnd));
}

// The step size for how long the arrow has been held.
int increment(const State& st) {
  if (st.accel.empty()) return 1;
  const DWORD held_s = st.pressed ? (GetTickCount() - st.press_tick) / 1000 : 0;
  int inc = static_cast<int>(st.accel.front().nInc);
  for (const UDACCEL& a : st.accel)
    if (a.nSec <= held_s) inc = static_cast<int>(a.nInc);
  return std::max(1, inc);
}

void draw_arrow(HDC dc, RECT r, int arrow, bool vertical, bool pressed, bool enabled) {
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  RECT edge = r;
  DrawEdge(dc, &edge, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_SOFT);
  const int w = r.right - r.left, h = r.bottom - r.top;
  const int size = std::max(2, std::min(w, h) / 4);
  int cx = r.left + w / 2 + (pressed ? 1 : 0), cy = r.top + h / 2 + (pressed ? 1 : 0);
  POINT tri[3];
  if (vertical) {
    const int top = cy - size / 2, dir = arrow > 0 ? 1 : -1;
    const int tip = arrow > 0 ? top : top + size;
    tri[0] = {cx, tip};
    tri[1] = {cx - size, tip + dir * size};
    tri[2] = {cx + size, tip + dir * size};
  } else {
    const int left = cx - size / 2, dir = arrow > 0 ? -1 : 1;
    const int tip = arrow > 0 ? left + size : left;
    tri[0] = {tip, cy};
    tri[1] = {tip + dir * size, cy - size};
    tri[2] = {tip + dir * size, cy + size};
  }
  const COLORREF ink = GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
  OwnedGdiObject brush(CreateSolidBrush(ink));
  OwnedGdiObject pen(CreatePen(PS_SOLID, 1, ink));
  ScopedSelect b(dc, brush.get()), p(dc, pen.get());
  Polygon(dc, tri, 3);
}

void paint(State& st, HDC dc) {
  const bool enabled = IsWindowEnabled(st.hwnd) != FALSE;
  for (int arrow : {1, -1}) {
    const bool pressed = st.pressed == arrow && st.over_pressed;
    draw_arrow(dc, arrow_rect(st, arrow), arrow, !horizontal(st), pressed, enabled);
  }
}

void end_press(State& st, bool notify) {
  if (!st.pressed) return;
  st.pressed = 0;
  st.over_pressed = false;
  KillTimer(st.hwnd, kRepeatTimer);
  if (GetCapture() == st.hwnd) ReleaseCapture();
  InvalidateRect(st.hwnd, nullptr, FALSE);
  if (notify) send_scroll(st, SB_ENDSCROLL);
}

void on_button_down(State& st, POINT p) {
  if (!IsWindowEnabled(st.hwnd)) return;
  st.pressed = arrow_at(st, p);
  st.over_pressed = true;
  st.press_tick = GetTickCount();
  SetCapture(st.hwnd);
  InvalidateRect(st.hwnd, nullptr, FALSE);
  SetTimer(st.hwnd, kRepeatTimer, kFirstDelayMs, nullptr);
  const HWND self = st.hwnd;
  step(st, st.pressed);
  if (find_state(self).get() != &st) return;
}

void on_mouse_move(State& st, POINT p) {
  if (!st.pressed) return;
  const bool over = point_in(arrow_rect(st, st.pressed), p);
  if (over != st.over_pressed) {
    st.over_pressed = over;
    InvalidateRect(st.hwnd, nullptr, FALSE);
  }
}

void on_repeat(State& st) {
  if (!st.pressed) {
    KillTimer(st.hwnd, kRepeatTimer);
    return;
  }
  SetTimer(st.hwnd, kRepeatTimer, kRepeatMs, nullptr);
  if (st.over_pressed) step(st, st.pressed);
}

LRESULT set_pos(State& st, int value) {
  const int previous = st.pos;
  st.pos = std::clamp(value, low(st), high(st));
  write_buddy(st);
  return previous;
}

LRESULT set_accel(State& st, WPARAM count, const UDACCEL* accel) {
  if (count == 0 || !accel) return FALSE;
  st.accel.assign(accel, accel + count);
  return TRUE;
}

LRESULT get_accel(State& st, WPARAM room, UDACCEL* out) {
  if (out) std::copy_n(st.accel.begin(), std::min<std::size_t>(room, st.accel.size()), out);
  return static_cast<LRESULT>(st.accel.size());
}

LRESULT handle(State& st, UINT msg, WPARAM wp, LPARAM lp) {
  HWND hwnd = st.hwnd;
  switch (msg) {
    case WM_CREATE:
      if (style_of(st) & UDS_AUTOBUDDY) set_buddy(st, GetWindow(hwnd, GW_HWNDPREV));
      return 0;
    case WM_DESTROY:
      end_press(st, false);
      release_buddy(st);
      return 0;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      if (wp) {
        paint(st, reinterpret_cast<HDC>(wp));
        return 0;
      }
      PAINTSTRUCT ps{};
      if (HDC dc = BeginPaint(hwnd, &ps)) paint(st, dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_ENABLE:
      if (!wp) end_press(st, true);
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      on_button_down(st, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      return 0;
    case WM_MOUSEMOVE:
      on_mouse_move(st, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      return 0;
    case WM_LBUTTONUP:
      end_press(st, true);
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lp) != hwnd) end_press(st, true);
      return 0;
    case WM_TIMER:
      if (wp != kRepeatTimer) break;
      on_repeat(st);
      return 0;
    case WM_KEYDOWN:
      if ((style_of(st) & UDS_ARROWKEYS) && (wp == VK_UP || wp == VK_DOWN)) step(st, wp == VK_UP ? 1 : -1);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case UDM_SETRANGE:
      st.upper = static_cast<SHORT>(LOWORD(static_cast<DWORD_PTR>(lp)));
      st.lower = static_cast<SHORT>(HIWORD(static_cast<DWORD_PTR>(lp)));
      st.pos = std::clamp(st.pos, low(st), high(st));
      return 0;
    case UDM_GETRANGE:
      return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(st.upper), static_cast<WORD>(st.lower)));
    case UDM_SETRANGE32:
      st.lower = static_cast<int>(static_cast<LONG_PTR>(wp));
      st.upper = static_cast<int>(lp);
      st.pos = std::clamp(st.pos, low(st), high(st));
      return 0;
    case UDM_GETRANGE32:
      if (auto* out = reinterpret_cast<int*>(wp)) *out = st.lower;
      if (auto* out = reinterpret_cast<int*>(lp)) *out = st.upper;
      return 0;
    case UDM_SETPOS:
      return static_cast<WORD>(set_pos(st, static_cast<SHORT>(LOWORD(static_cast<DWORD_PTR>(lp)))));
    case UDM_SETPOS32:
      return set_pos(st, static_cast<int>(lp));
    case UDM_GETPOS: {
      const bool ok = read_buddy(st);
      return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(st.pos), ok ? 0 : 1));
    }
    case UDM_GETPOS32: {
      const bool ok = read_buddy(st);
      if (auto* error = reinterpret_cast<BOOL*>(lp)) *error = ok ? FALSE : TRUE;
      return st.pos;
    }
    case UDM_SETBUDDY: {
      HWND previous = st.buddy;
      set_buddy(st, reinterpret_cast<HWND>(wp));
      return reinterpret_cast<LRESULT>(previous);
    }
    case UDM_GETBUDDY:
      return reinterpret_cast<LRESULT>(st.buddy);
    case UDM_SETACCEL:
      return set_accel(st, wp, reinterpret_cast<const UDACCEL*>(lp));
    case UDM_GETACCEL:
      return get_accel(st, wp, reinterpret_cast<UDACCEL*>(lp));
    case UDM_SETBASE: {
      if (wp != 10 && wp != 16) return 0;
      const int previous = st.base;
      st.base = static_cast<int>(wp);
      write_buddy(st);
      return previous;
    }
    case UDM_GETBASE:
      return st.base;
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT CALLBACK updown_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return states().serve(hwnd, msg, wp, lp, [&](State& st) {
    if (st.buddy && !IsWindow(st.buddy)) st.buddy = nullptr;  // destroyed without telling us
    return handle(st, msg, wp, lp);
  });
}

}  // namespace

std::shared_ptr<State> find_state(HWND hwnd) {
  return states().find(hwnd);
}

void step(State& st, int direction) {
  const HWND self = st.hwnd;
  if (!read_buddy(st)) st.pos = std::clamp(st.pos, low(st), high(st));
  int delta = direction * increment(st);
  if (st.upper < st.lower) delta = -delta;  // a reversed range counts down going up
  NMUPDOWN nm{};
  nm.hdr.hwndFrom = self;
  nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(self));
  nm.hdr.code = UDN_DELTAPOS;
  nm.iPos = st.pos;
  nm.iDelta = delta;
  HWND parent = GetParent(self);
  if (parent && SendMessageA(parent, WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm))) return;
  if (find_state(self).get() != &st) return;  // destroyed by the parent
  const std::int64_t target = static_cast<std::int64_t>(st.pos) + delta;
  int next;
  if (target > high(st))
    next = (style_of(st) & UDS_WRAP) ? low(st) : high(st);
  else if (target < low(st))
    next = (style_of(st) & UDS_WRAP) ? high(st) : low(st);
  else
    next = static_cast<int>(target);
  if (next == st.pos) return;
  st.pos = next;
  write_buddy(st);
  if (find_state(self).get() != &st) return;
  send_scroll(st, SB_THUMBPOSITION);
}

void register_updown_class() {
  register_control_class(UPDOWN_CLASSA, updown_proc, CS_GLOBALCLASS | CS_DBLCLKS);
}

namespace {
const bool kRegistered = winsys::add_system_classes(&register_updown_class);
}  // namespace

}  // namespace platform::controls::updown
