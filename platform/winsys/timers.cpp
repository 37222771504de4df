// Window and thread timers. A due timer produces one WM_TIMER when the queue has nothing else
// (timers coalesce: a late timer fires once), and is rescheduled from the time it is taken.
#include <algorithm>

#include "platform/winsys/window_lookup.h"
#include "platform/winsys/wm_state.h"

using namespace platform::winsys;

namespace {

// USER_TIMER_MINIMUM and USER_TIMER_MAXIMUM of the platform.
constexpr UINT kMinInterval = 10;
constexpr UINT kMaxInterval = 0x7FFFFFFF;

}  // namespace

extern "C" {

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse_ms, TIMERPROC proc) {
  elapse_ms = std::clamp(elapse_ms, kMinInterval, kMaxInterval);
  bool wake_disp = false;
  UINT_PTR result = 0;
  {
    Lock lock(wm_mutex());
    QueuePtr q;
    if (hwnd) {
      WindowPtr w = checked_locked(hwnd);
      if (!w || is_desktop_locked(*w) || w->thread_id != this_thread_id()) return 0;
    }
    q = current_queue_locked();
    const platform::clock::Millis due = platform::clock::now() + elapse_ms;
    if (!hwnd) {
      // A thread timer: an existing id is replaced, otherwise a fresh id is chosen.
      auto it = std::find_if(q->timers.begin(), q->timers.end(),
                             [&](const Timer& t) { return !t.hwnd && t.id == id && id != 0; });
      if (it != q->timers.end()) {
        it->interval_ms = elapse_ms;
        it->due = due;
        it->proc = proc;
        result = id;
      } else {
        UINT_PTR fresh = 0x7FFF;
        for (bool used = true; used;) {
          ++fresh;
          used = std::any_of(q->timers.begin(), q->timers.end(),
                             [&](const Timer& t) { return !t.hwnd && t.id == fresh; });
        }
        q->timers.push_back(Timer{nullptr, fresh, elapse_ms, due, proc});
        result = fresh;
      }
    } else {
      auto it = std::find_if(q->timers.begin(), q->timers.end(),
                             [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
      if (it != q->timers.end())
        *it = Timer{hwnd, id, elapse_ms, due, proc};
      else
        q->timers.push_back(Timer{hwnd, id, elapse_ms, due, proc});
      result = id ? id : 1;
    }
    wake_disp = wake_locked(*q);
  }
  (void)wake_disp;  // the caller is the queue's own thread: it is not waiting
  return result;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  Lock lock(wm_mutex());
  if (hwnd && !checked_locked(hwnd)) return FALSE;  // its timers went with the window
  QueuePtr q = current_queue_locked();
  auto before = q->timers.size();
  std::erase_if(q->timers, [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  if (q->timers.size() == before) return FALSE;
  // A WM_TIMER already posted for it is not delivered any more.
  std::erase_if(q->posted,
                [&](const MSG& m) { return m.message == WM_TIMER && m.hwnd == hwnd && m.wParam == id; });
  return TRUE;
}

}  // extern "C"
