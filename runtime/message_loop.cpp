#include "runtime/message_loop.h"

#include "platform/api/input.h"
#include "platform/api/user.h"
#include "runtime/host_app.h"
#include "runtime/state.h"
#include "runtime/window_system.h"

namespace runtime {
namespace {

constexpr UINT kWmPaint = 0x000F;
constexpr UINT kWmSysTimer = 0x0118;
constexpr UINT kWmMouseMove = 0x0200;
constexpr UINT kWmNcMouseMove = 0x00A0;

void run_idle_callbacks(RuntimeState& s) {
  // A callback may add or remove callbacks: walk by index from the end, re-checking the bound.
  for (std::size_t i = s.idle_callbacks.size(); i-- > 0;) {
    if (i >= s.idle_callbacks.size()) continue;
    IdleCallback entry = s.idle_callbacks[i];
    if (!IsWindow(entry.window)) {
      s.idle_callbacks.erase(s.idle_callbacks.begin() + static_cast<std::ptrdiff_t>(i));
      continue;
    }
    if (entry.routine != nullptr) entry.routine(entry.argument);
  }
}

void dispatch(RuntimeState& s, MSG& message) {
  if (s.host != nullptr && s.host->pre_translate(message)) return;
  TranslateMessage(&message);
  DispatchMessageA(&message);
}

bool quit_waiting() {
  MSG peeked;
  return PeekMessageA(&peeked, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
}

void run_loop(RuntimeState& s, bool modal) {
  IdleTrigger trigger;
  bool idle = true;
  long idle_count = 0;
  MSG message;
  for (;;) {
    while (idle && !PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
      if (modal && s.modal_window == 0) return;
      run_idle_callbacks(s);
      if (s.host == nullptr || !s.host->on_idle(idle_count++)) idle = false;
    }
    do {
      if (modal && (s.modal_window == 0 || quit_waiting())) return;
      if (!GetMessageA(&message, nullptr, 0, 0)) {
        if (modal) PostQuitMessage(static_cast<int>(message.wParam));
        return;
      }
      dispatch(s, message);
      if (trigger(message)) {
        idle = true;
        idle_count = 0;
      }
    } while (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE));
  }
}

}  // namespace

bool IdleTrigger::operator()(const MSG& message) {
  if (message.message == kWmPaint || message.message == kWmSysTimer) return false;
  if (message.message == kWmMouseMove || message.message == kWmNcMouseMove) {
    bool repeat = message.message == last_mouse_message_ && message.pt.x == last_point_.x &&
                  message.pt.y == last_point_.y;
    last_mouse_message_ = message.message;
    last_point_ = message.pt;
    return !repeat;
  }
  return true;
}

void message_loop() {
  RuntimeState* s = current_state();
  if (s == nullptr) return;
  s->message_loop_started = true;
  const WindowSystem& ws = window_system();
  if (ws.any_window_alive == nullptr || !ws.any_window_alive()) return;
  run_loop(*s, false);
}

void run_modal_loop(std::uint32_t window_id) {
  RuntimeState* s = current_state();
  if (s == nullptr) return;
  std::uint32_t saved = s->modal_window;
  s->modal_window = window_id;
  run_loop(*s, true);
  s->modal_window = saved;
}

void pump_pending_messages() {
  RuntimeState* s = current_state();
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (s != nullptr) {
      dispatch(*s, message);
    } else {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
}

}  // namespace runtime
