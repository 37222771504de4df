#include "platform/winsys/input_tracking.h"

#include <mutex>

#include "platform/api/input.h"
#include "platform/api/user.h"
#include "platform/winsys/input.h"
#include "platform/winsys/queue_access.h"

namespace platform::winsys::input::tracking {
namespace {

struct TrackState {
  std::mutex mutex;
  HWND tracked = nullptr;
  Target over;  // where the pointer was last seen
};

TrackState& state() {
  static TrackState s;
  return s;
}

bool over_client_of(const Target& t, HWND w) {
  return t.hwnd == w && t.client;
}

}  // namespace

void pointer_over(const Target& target) {
  HWND leave = nullptr;
  {
    TrackState& s = state();
    std::lock_guard lock(s.mutex);
    s.over = target;
    if (s.tracked && !over_client_of(target, s.tracked)) {
      leave = s.tracked;
      s.tracked = nullptr;
    }
  }
  if (leave && IsWindow(leave)) post_input_message(leave, WM_MOUSELEAVE, 0, 0, cursor_pos());
}

}  // namespace platform::winsys::input::tracking

extern "C" BOOL TrackMouseEvent(LPTRACKMOUSEEVENT track) {
  if (!track || track->cbSize != sizeof(TRACKMOUSEEVENT)) return FALSE;
  auto& s = platform::winsys::input::tracking::state();
  if (track->dwFlags & TME_QUERY) {
    std::lock_guard lock(s.mutex);
    track->dwFlags = s.tracked ? TME_LEAVE : 0;
    track->hwndTrack = s.tracked;
    track->dwHoverTime = 0;
    return TRUE;
  }
  // Hover notifications are not delivered by this window system: a request for them fails
  // (after arming the leave notification when that was asked for too).
  bool hover = (track->dwFlags & TME_HOVER) != 0;
  if (!(track->dwFlags & TME_LEAVE)) return FALSE;
  if (!IsWindow(track->hwndTrack)) return FALSE;
  bool leave_now = false;
  {
    std::lock_guard lock(s.mutex);
    if (track->dwFlags & TME_CANCEL) {
      if (s.tracked == track->hwndTrack) s.tracked = nullptr;
      return hover ? FALSE : TRUE;
    }
    if (s.over.hwnd == track->hwndTrack && s.over.client)
      s.tracked = track->hwndTrack;
    else
      leave_now = true;  // not over it now: the leave is due at once
  }
  if (leave_now)
    platform::winsys::post_input_message(track->hwndTrack, WM_MOUSELEAVE, 0, 0,
                                         platform::winsys::input::cursor_pos());
  return hover ? FALSE : TRUE;
}
