#include "platform/winsys/input_tracking.h"

#include <cstdlib>
#include <mutex>

#include "platform/api/input.h"
#include "platform/api/user.h"
#include "platform/winsys/input.h"
#include "platform/winsys/keyboard_state.h"
#include "platform/winsys/queue_access.h"

namespace platform::winsys::input::tracking {
namespace {

constexpr DWORD kDefaultHoverMs = 400;
constexpr LONG kHoverBox = 4;

struct TrackState {
  std::mutex mutex;
  HWND leave_window = nullptr;
  HWND hover_window = nullptr;
  DWORD hover_ms = 0;
  POINT hover_anchor{};
  DWORD hover_since = 0;
  UINT_PTR hover_timer = 0;
  Target over;  // where the pointer was last seen
};

TrackState& state() {
  static TrackState s;
  return s;
}

bool over_client_of(const Target& t, HWND w) {
  return t.hwnd == w && t.client;
}

WPARAM key_flags() {
  WPARAM mk = 0;
  if (keyboard::is_down(VK_LBUTTON)) mk |= MK_LBUTTON;
  if (keyboard::is_down(VK_RBUTTON)) mk |= MK_RBUTTON;
  if (keyboard::is_down(VK_MBUTTON)) mk |= MK_MBUTTON;
  if (keyboard::is_down(VK_SHIFT)) mk |= MK_SHIFT;
  if (keyboard::is_down(VK_CONTROL)) mk |= MK_CONTROL;
  return mk;
}

void stop_hover_locked(TrackState& s) {
  s.hover_window = nullptr;
  s.hover_timer = 0;  // a timer still running finds itself outdated and stops
}

void CALLBACK hover_timer_fired(HWND, UINT, UINT_PTR id, DWORD) {
  TrackState& s = state();
  HWND hover = nullptr;
  {
    std::lock_guard lock(s.mutex);
    if (id != s.hover_timer || !s.hover_window) {
      KillTimer(nullptr, id);
      return;
    }
    DWORD rested = event_clock() - s.hover_since;
    KillTimer(nullptr, id);
    if (rested < s.hover_ms) {
      // The pointer moved meanwhile: wait for the rest of the hover time.
      s.hover_timer = SetTimer(nullptr, 0, s.hover_ms - rested, hover_timer_fired);
      return;
    }
    hover = s.hover_window;
    stop_hover_locked(s);
  }
  if (!IsWindow(hover)) return;
  POINT screen = cursor_pos();
  POINT client = screen;
  ScreenToClient(hover, &client);
  post_input_message(hover, WM_MOUSEHOVER, key_flags(),
                     MAKELPARAM(static_cast<WORD>(client.x), static_cast<WORD>(client.y)), screen);
}

}  // namespace

void pointer_over(const Target& target) {
  HWND leave = nullptr;
  {
    TrackState& s = state();
    std::lock_guard lock(s.mutex);
    s.over = target;
    if (s.leave_window && !over_client_of(target, s.leave_window)) {
      leave = s.leave_window;
      s.leave_window = nullptr;
    }
    if (s.hover_window) {
      POINT p = cursor_pos();
      if (!over_client_of(target, s.hover_window)) {
        stop_hover_locked(s);
      } else if (std::abs(p.x - s.hover_anchor.x) > kHoverBox / 2 ||
                 std::abs(p.y - s.hover_anchor.y) > kHoverBox / 2) {
        s.hover_anchor = p;
        s.hover_since = event_clock();
      }
    }
  }
  if (leave && IsWindow(leave)) post_input_message(leave, WM_MOUSELEAVE, 0, 0, cursor_pos());
}

}  // namespace platform::winsys::input::tracking

extern "C" BOOL TrackMouseEvent(LPTRACKMOUSEEVENT track) {
  namespace tr = platform::winsys::input::tracking;
  namespace in = platform::winsys::input;
  if (!track || track->cbSize != sizeof(TRACKMOUSEEVENT)) return FALSE;
  auto& s = tr::state();
  if (track->dwFlags & TME_QUERY) {
    std::lock_guard lock(s.mutex);
    HWND w = s.leave_window ? s.leave_window : s.hover_window;
    track->dwFlags = (s.leave_window ? TME_LEAVE : 0) | (s.hover_window ? TME_HOVER : 0);
    track->hwndTrack = w;
    track->dwHoverTime = s.hover_window ? s.hover_ms : 0;
    return TRUE;
  }
  DWORD kinds = track->dwFlags & (TME_LEAVE | TME_HOVER);
  if (!kinds || !IsWindow(track->hwndTrack)) return FALSE;
  bool leave_now = false;
  {
    std::lock_guard lock(s.mutex);
    if (track->dwFlags & TME_CANCEL) {
      if ((kinds & TME_LEAVE) && s.leave_window == track->hwndTrack) s.leave_window = nullptr;
      if ((kinds & TME_HOVER) && s.hover_window == track->hwndTrack) tr::stop_hover_locked(s);
      return TRUE;
    }
    bool over = tr::over_client_of(s.over, track->hwndTrack);
    if (kinds & TME_LEAVE) {
      if (over)
        s.leave_window = track->hwndTrack;
      else
        leave_now = true;  // not over it now: the leave is due at once
    }
    if ((kinds & TME_HOVER) && over) {
      if (s.hover_timer) KillTimer(nullptr, s.hover_timer);
      s.hover_window = track->hwndTrack;
      s.hover_ms = track->dwHoverTime == HOVER_DEFAULT || track->dwHoverTime == 0 ? tr::kDefaultHoverMs
                                                                                  : track->dwHoverTime;
      s.hover_anchor = in::cursor_pos();
      s.hover_since = in::event_clock();
      s.hover_timer = SetTimer(nullptr, 0, s.hover_ms, tr::hover_timer_fired);
      if (!s.hover_timer) tr::stop_hover_locked(s);
    }
  }
  if (leave_now)
    platform::winsys::post_input_message(track->hwndTrack, WM_MOUSELEAVE, 0, 0, in::cursor_pos());
  return TRUE;
}
