// Mouse input: hit testing, cursor requests, activation by click, double clicks, button state.
#include <cstdlib>
#include <mutex>

#include "platform/api/input.h"
#include "platform/api/user.h"
#include "platform/kernel/clock.h"
#include "platform/winsys/input.h"
#include "platform/winsys/input_target.h"
#include "platform/winsys/input_tracking.h"
#include "platform/winsys/keyboard_state.h"
#include "platform/winsys/queue_access.h"
#include "platform/winsys/window_access.h"

namespace platform::winsys::input {
namespace {

struct LastClick {
  bool valid = false;
  Button button = Button::left;
  DWORD time = 0;
  POINT pt{};
  HWND hwnd = nullptr;
  LRESULT hit = 0;
};

struct MouseState {
  std::mutex mutex;
  POINT pos{};
  LastClick last;
};

MouseState& state() {
  static MouseState s;
  return s;
}

constexpr UINT kButtonVk[] = {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON};

WPARAM key_flags() {
  WPARAM mk = 0;
  if (keyboard::is_down(VK_LBUTTON)) mk |= MK_LBUTTON;
  if (keyboard::is_down(VK_RBUTTON)) mk |= MK_RBUTTON;
  if (keyboard::is_down(VK_MBUTTON)) mk |= MK_MBUTTON;
  if (keyboard::is_down(VK_SHIFT)) mk |= MK_SHIFT;
  if (keyboard::is_down(VK_CONTROL)) mk |= MK_CONTROL;
  return mk;
}

LPARAM point_param(POINT p) {
  return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
}

void set_pos(POINT p) {
  MouseState& s = state();
  std::lock_guard lock(s.mutex);
  s.pos = p;
}

// Client messages: down, up, double click per button; non-client ones likewise.
UINT client_message(Button b, int kind) {
  return WM_LBUTTONDOWN + 3 * static_cast<UINT>(b) + kind;
}
UINT nonclient_message(Button b, int kind) {
  return WM_NCLBUTTONDOWN + 3 * static_cast<UINT>(b) + kind;
}
constexpr int kDown = 0, kUp = 1, kDouble = 2;

void post_mouse(const Target& t, UINT client_msg, UINT nc_msg, POINT screen, WPARAM extra_wp = 0) {
  if (t.client) {
    POINT c = screen;
    ScreenToClient(t.hwnd, &c);
    post_input_message(t.hwnd, client_msg, key_flags() | extra_wp, point_param(c), screen);
  } else {
    post_input_message(t.hwnd, nc_msg, static_cast<WPARAM>(t.hit), point_param(screen), screen);
  }
}

void request_cursor(const Target& t, UINT mouse_msg) {
  if (t.captured || !t.hwnd) return;
  SendMessageA(t.hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(t.hwnd),
               MAKELPARAM(static_cast<WORD>(t.hit), static_cast<WORD>(mouse_msg)));
}

// Activates the clicked window's top level when it is not active yet; true when the click is
// eaten by the activation.
bool activate_by_click(const Target& t, UINT mouse_msg) {
  HWND top = top_level_of(t.hwnd);
  if (!top || top == active_of_thread(window_thread(top))) return false;
  LRESULT ma = SendMessageA(t.hwnd, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top),
                            MAKELPARAM(static_cast<WORD>(t.hit), static_cast<WORD>(mouse_msg)));
  if (ma != MA_NOACTIVATE && ma != MA_NOACTIVATEANDEAT && IsWindow(top)) SetActiveWindow(top);
  return ma == MA_ACTIVATEANDEAT || ma == MA_NOACTIVATEANDEAT;
}

bool class_wants_double_clicks(HWND hwnd) {
  return (static_cast<DWORD>(GetClassLongA(hwnd, GCL_STYLE)) & CS_DBLCLKS) != 0;
}

// Decides whether this press completes a double click, and remembers it for the next one.
bool is_double_click(Button b, const Target& t, POINT pt, DWORD time) {
  MouseState& s = state();
  std::lock_guard lock(s.mutex);
  LastClick& last = s.last;
  bool dbl = last.valid && last.button == b && last.hwnd == t.hwnd && last.hit == t.hit &&
             time - last.time <= GetDoubleClickTime() &&
             std::abs(pt.x - last.pt.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
             std::abs(pt.y - last.pt.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
  if (dbl) {
    last.valid = false;  // a third press starts over
  } else {
    last = LastClick{true, b, time, pt, t.hwnd, t.hit};
  }
  return dbl;
}

}  // namespace

DWORD event_clock() {
  return static_cast<DWORD>(platform::clock::now());
}

POINT cursor_pos() {
  MouseState& s = state();
  std::lock_guard lock(s.mutex);
  return s.pos;
}

void mouse_move(POINT screen, DWORD /*time*/) {
  set_pos(screen);
  Target t = find_target(screen);
  tracking::pointer_over(t);
  if (!t.hwnd) return;
  request_cursor(t, WM_MOUSEMOVE);
  if (t.hit == HTERROR || !IsWindow(t.hwnd)) return;
  post_mouse(t, WM_MOUSEMOVE, WM_NCMOUSEMOVE, screen);
}

void mouse_button(Button b, bool down, POINT screen, DWORD time) {
  set_pos(screen);
  keyboard::set_key(kButtonVk[static_cast<int>(b)], down);
  Target t = find_target(screen);
  tracking::pointer_over(t);
  if (!t.hwnd) return;
  UINT msg = client_message(b, down ? kDown : kUp);
  request_cursor(t, msg);
  if (t.hit == HTERROR || !IsWindow(t.hwnd)) return;  // a disabled window takes no clicks
  if (!down) {
    post_mouse(t, msg, nonclient_message(b, kUp), screen);
    return;
  }
  if (!t.captured && activate_by_click(t, msg)) return;
  if (!IsWindow(t.hwnd)) return;
  bool dbl = is_double_click(b, t, screen, time);
  if (dbl && (!t.client || class_wants_double_clicks(t.hwnd)))
    post_mouse(t, client_message(b, kDouble), nonclient_message(b, kDouble), screen);
  else
    post_mouse(t, msg, nonclient_message(b, kDown), screen);
}

void mouse_wheel(int delta, POINT screen, DWORD /*time*/) {
  set_pos(screen);
  HWND target = keyboard_window();
  if (!target) target = find_target(screen).hwnd;
  if (!target) return;
  WPARAM wp = MAKEWPARAM(static_cast<WORD>(key_flags()), static_cast<WORD>(static_cast<SHORT>(delta)));
  post_input_message(target, WM_MOUSEWHEEL, wp, point_param(screen), screen);
}

void mouse_left_screen() {
  tracking::pointer_over(Target{});
}

}  // namespace platform::winsys::input
