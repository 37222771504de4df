#include <algorithm>

#include "platform/api/kernel.h"
#include "platform/display/backend.h"
#include "platform/kernel/wait_hook.h"
#include "platform/winsys/dispatch.h"
#include "platform/winsys/hooks.h"
#include "platform/winsys/queue_access.h"
#include "platform/winsys/window_internal.h"
#include "platform/winsys/window_lookup.h"

namespace platform::winsys {
namespace {

const HWND kThreadOnly = reinterpret_cast<HWND>(-1);

bool range_match(UINT m, UINT min, UINT max) {
  if (min == 0 && max == 0) return true;
  return m >= min && m <= max;
}

bool is_descendant_locked(HWND parent, HWND hwnd) {
  auto w = find_locked(hwnd);
  while (w) {
    if (w->parent == parent) return true;
    if (!(w->style & WS_CHILD)) return false;
    w = find_locked(w->parent);
  }
  return false;
}

bool hwnd_match_locked(HWND msg_hwnd, HWND filter) {
  if (!filter) return true;
  if (filter == kThreadOnly) return msg_hwnd == nullptr;
  return msg_hwnd == filter || is_descendant_locked(filter, msg_hwnd);
}

bool post_locked(DWORD tid, const MSG& m, bool* wake_disp) {
  QueuePtr q = queue_of_locked(tid);
  if (!q || !q->alive) return false;
  q->posted.push_back(m);
  *wake_disp = wake_locked(*q);
  return true;
}

MSG make_msg(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return MSG{hwnd, msg, wp, lp, tick_count(), state_locked().cursor};
}

std::optional<clock::Millis> next_timer_locked(const ThreadQueue& q) {
  std::optional<clock::Millis> next;
  for (const Timer& t : q.timers)
    if (!next || t.due < *next) next = t.due;
  return next;
}

// Looks for a message without waiting; the caller holds the lock and has served sent messages.
bool peek_locked(ThreadQueue& q, MSG* out, HWND filter, UINT min, UINT max, UINT remove) {
  bool take = (remove & PM_REMOVE) != 0;
  for (auto it = q.posted.begin(); it != q.posted.end();) {
    if (it->hwnd && !find_locked(it->hwnd)) {
      it = q.posted.erase(it);  // its window is gone
      continue;
    }
    if (hwnd_match_locked(it->hwnd, filter) && range_match(it->message, min, max)) {
      *out = *it;
      if (take) q.posted.erase(it);
      return true;
    }
    ++it;
  }
  if (q.quit_posted) {
    *out = make_msg(nullptr, WM_QUIT, static_cast<WPARAM>(q.quit_code), 0);
    if (take) q.quit_posted = false;
    return true;
  }
  if (filter != kThreadOnly && range_match(WM_PAINT, min, max)) {
    if (HWND h = find_paint_window_locked(q.thread_id, filter)) {
      *out = make_msg(h, WM_PAINT, 0, 0);
      return true;
    }
  }
  if (range_match(WM_TIMER, min, max)) {
    const clock::Millis now = clock::now();
    for (Timer& t : q.timers) {
      if (t.due > now || !hwnd_match_locked(t.hwnd, filter)) continue;
      if (filter == kThreadOnly && t.hwnd) continue;
      *out = make_msg(t.hwnd, WM_TIMER, t.id, reinterpret_cast<LPARAM>(t.proc));
      if (take) t.due = now + t.interval_ms;
      return true;
    }
  }
  return false;
}

void note_retrieved(ThreadQueue& q, const MSG& m) {
  q.last_time = m.time;
  q.last_pos = m.pt;
}

bool filter_valid(HWND filter) {
  if (!filter || filter == kThreadOnly) return true;
  Lock lock(wm_mutex());
  return find_locked(filter) != nullptr;
}

void after_retrieve(MSG* msg, UINT remove) {
  if (has_hooks(WH_GETMESSAGE))
    call_hooks(WH_GETMESSAGE, HC_ACTION, remove & PM_REMOVE, reinterpret_cast<LPARAM>(msg));
}

struct WakeCheck {
  DWORD mask;
  bool wait_all;
  std::optional<clock::Millis> deadline;
  bool input = false;  // what ended the last kernel wait
};

// Serves sent messages and tells whether the queue holds a message of the wake mask's kinds.
bool queue_has_input(void* context) {
  auto* check = static_cast<WakeCheck*>(context);
  serve_sent_messages();
  bool on_display;
  {
    Lock lock(wm_mutex());
    on_display = state_locked().display_thread == this_thread_id();
  }
  if (on_display) {
    drain_display_calls();
    platform::display::backend().pump();
  }
  DWORD status = HIWORD(GetQueueStatus(QS_ALLINPUT));
  return (status & (check->mask ? check->mask : QS_ALLINPUT)) != 0;
}

// Ends a kernel wait of MsgWaitForMultipleObjectsEx: input of the mask's kinds (unless all
// objects are asked for) or, with a stopped clock that no real time-out watches, the time-out.
bool wait_interrupted(void* context) {
  auto* check = static_cast<WakeCheck*>(context);
  if (!check->wait_all && queue_has_input(context)) {
    check->input = true;
    return true;
  }
  return check->deadline && clock::now() >= *check->deadline;
}

}  // namespace

bool post_input_message(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, POINT screen_pt) {
  bool wake_disp = false;
  {
    Lock lock(wm_mutex());
    WindowPtr w = find_locked(hwnd);
    if (!w || is_desktop_locked(*w)) return false;
    state_locked().cursor = screen_pt;
    if (!post_locked(w->thread_id, MSG{hwnd, msg, wp, lp, tick_count(), screen_pt}, &wake_disp)) return false;
  }
  if (wake_disp) wake_display();
  return true;
}

DWORD display_thread_id() {
  Lock lock(wm_mutex());
  return state_locked().display_thread;
}

void post_thread_wakeup(DWORD thread_id) {
  bool wake_disp = false;
  {
    Lock lock(wm_mutex());
    if (QueuePtr q = queue_of_locked(thread_id)) wake_disp = wake_locked(*q);
  }
  if (wake_disp) wake_display();
}

POINT last_cursor_pos() {
  Lock lock(wm_mutex());
  return state_locked().cursor;
}

void purge_window_messages_locked(HWND hwnd, DWORD tid) {
  if (QueuePtr q = queue_of_locked(tid)) {
    std::erase_if(q->posted, [&](const MSG& m) { return m.hwnd == hwnd; });
    std::erase_if(q->timers, [&](const Timer& t) { return t.hwnd == hwnd; });
  }
}

}  // namespace platform::winsys

using namespace platform::winsys;

extern "C" {

BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (!hwnd) return PostThreadMessageA(this_thread_id(), msg, wp, lp);
  bool wake_disp = false;
  {
    Lock lock(wm_mutex());
    State& s = state_locked();
    if (hwnd == HWND_BROADCAST) {
      for (HWND h : s.desktop->children) {
        bool w = false;
        if (auto win = find_locked(h)) post_locked(win->thread_id, make_msg(h, msg, wp, lp), &w);
        wake_disp |= w;
      }
    } else {
      WindowPtr w = checked_locked(hwnd);
      if (!w || is_desktop_locked(*w)) return FALSE;
      if (!post_locked(w->thread_id, make_msg(hwnd, msg, wp, lp), &wake_disp)) return FALSE;
    }
  }
  if (wake_disp) wake_display();
  return TRUE;
}

BOOL PostThreadMessageA(DWORD thread_id, UINT msg, WPARAM wp, LPARAM lp) {
  bool wake_disp = false;
  {
    Lock lock(wm_mutex());
    if (thread_id == this_thread_id()) current_queue_locked();
    if (!post_locked(thread_id, make_msg(nullptr, msg, wp, lp), &wake_disp)) return FALSE;
  }
  if (wake_disp) wake_display();
  return TRUE;
}

void PostQuitMessage(int exit_code) {
  Lock lock(wm_mutex());
  QueuePtr q = current_queue_locked();
  q->quit_posted = true;
  q->quit_code = exit_code;
  wake_locked(*q);
}

BOOL GetMessageA(LPMSG msg, HWND hwnd, UINT min, UINT max) {
  if (!msg || !filter_valid(hwnd)) return -1;
  for (;;) {
    serve_sent_messages();
    Lock lock(wm_mutex());
    QueuePtr q = current_queue_locked();
    if (!q->sent.empty()) continue;
    if (peek_locked(*q, msg, hwnd, min, max, PM_REMOVE)) {
      note_retrieved(*q, *msg);
      lock.unlock();
      after_retrieve(msg, PM_REMOVE);
      return msg->message == WM_QUIT ? FALSE : TRUE;
    }
    if (hwnd && hwnd != kThreadOnly && !find_locked(hwnd)) return -1;
    wait_for_wake(lock, *q, next_timer_locked(*q));
  }
}

BOOL PeekMessageA(LPMSG msg, HWND hwnd, UINT min, UINT max, UINT remove) {
  if (!msg || !filter_valid(hwnd)) return FALSE;
  // The display thread looks at the system's events before reporting an empty queue, and looks
  // at the queue again after every pump that brought something: an event may post nothing (a
  // move to where the cursor already is) while the next one posts the message we want.
  for (bool pumped_nothing = false;;) {
    serve_sent_messages();
    {
      Lock lock(wm_mutex());
      QueuePtr q = current_queue_locked();
      if (peek_locked(*q, msg, hwnd, min, max, remove)) {
        if (remove & PM_REMOVE) note_retrieved(*q, *msg);
        lock.unlock();
        after_retrieve(msg, remove);
        return TRUE;
      }
      if (pumped_nothing || state_locked().display_thread != q->thread_id) return FALSE;
    }
    drain_display_calls();
    pumped_nothing = !platform::display::backend().pump();
  }
}

LRESULT DispatchMessageA(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    // Only a procedure that was registered with a live timer is called.
    TIMERPROC proc = nullptr;
    {
      Lock lock(wm_mutex());
      if (QueuePtr q = current_queue_locked())
        for (const Timer& t : q->timers)
          if (t.hwnd == msg->hwnd && t.id == msg->wParam && reinterpret_cast<LPARAM>(t.proc) == msg->lParam)
            proc = t.proc;
    }
    if (proc) proc(msg->hwnd, WM_TIMER, msg->wParam, tick_count());
    return 0;
  }
  if (!msg->hwnd) return 0;
  {
    Lock lock(wm_mutex());
    WindowPtr w = find_locked(msg->hwnd);
    if (!w || w->thread_id != this_thread_id()) return 0;
  }
  return call_proc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL WaitMessage() {
  if (serve_sent_messages()) return TRUE;
  Lock lock(wm_mutex());
  QueuePtr q = current_queue_locked();
  MSG m;
  if (!q->sent.empty() || peek_locked(*q, &m, nullptr, 0, 0, PM_NOREMOVE)) return TRUE;
  wait_for_wake(lock, *q, next_timer_locked(*q));
  return TRUE;
}

DWORD MsgWaitForMultipleObjectsEx(DWORD count, const HANDLE* handles, DWORD timeout_ms, DWORD wake_mask,
                                  DWORD flags) {
  if ((count > 0 && !handles) || count > MAXIMUM_WAIT_OBJECTS) return WAIT_FAILED;
  const bool wait_all = (flags & MWMO_WAITALL) != 0;
  std::optional<platform::clock::Millis> deadline;
  if (timeout_ms != INFINITE) deadline = platform::clock::now() + timeout_ms;
  bool on_display;
  {
    Lock lock(wm_mutex());
    QueuePtr q = current_queue_locked();
    ++q->kernel_waits;
    on_display = state_locked().display_thread == q->thread_id;
  }
  struct Leave {
    ~Leave() {
      Lock lock(wm_mutex());
      --current_queue_locked()->kernel_waits;
    }
  } leave;
  WakeCheck check{wake_mask, wait_all, deadline};
  for (;;) {
    if (!wait_all && queue_has_input(&check)) return WAIT_OBJECT_0 + count;
    if (deadline && platform::clock::now() >= *deadline) return WAIT_TIMEOUT;
    DWORD slice = INFINITE;
    std::optional<platform::clock::Millis> next;
    {
      Lock lock(wm_mutex());
      next = next_timer_locked(*current_queue_locked());
    }
    if (deadline && (!next || *deadline < *next)) next = deadline;
    // A stopped clock has no real time left: advancing it wakes the kernel wait instead.
    const platform::clock::Reading time = platform::clock::read();
    if (next && !time.manual) {
      const platform::clock::Millis left = *next > time.now ? *next - time.now : 0;
      slice = static_cast<DWORD>(std::min<platform::clock::Millis>(left + 1, 0x7FFFFFFF));
    }
    // The display thread keeps looking at the system's events.
    if (on_display) slice = std::min<DWORD>(slice, 10);
    DWORD r = platform::kernel::wait_for_objects(std::span<const HANDLE>(handles, count), wait_all, slice,
                                                 &wait_interrupted, &check);
    if (r == WAIT_OBJECT_0 + count) {
      if (check.input) return r;
      continue;  // the time-out, answered above
    }
    if (r != WAIT_TIMEOUT) return r;
    if (wait_all && queue_has_input(&check)) return WAIT_OBJECT_0 + count;
  }
}

DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL wait_all, DWORD timeout_ms,
                                DWORD wake_mask) {
  return MsgWaitForMultipleObjectsEx(count, handles, timeout_ms, wake_mask, wait_all ? MWMO_WAITALL : 0);
}

DWORD GetMessagePos() {
  Lock lock(wm_mutex());
  QueuePtr q = current_queue_locked();
  return MAKELONG(static_cast<WORD>(q->last_pos.x), static_cast<WORD>(q->last_pos.y));
}

LONG GetMessageTime() {
  Lock lock(wm_mutex());
  return static_cast<LONG>(current_queue_locked()->last_time);
}

DWORD GetQueueStatus(UINT flags) {
  Lock lock(wm_mutex());
  QueuePtr q = current_queue_locked();
  UINT status = 0;
  for (const MSG& m : q->posted) {
    if (m.message >= WM_KEYFIRST && m.message <= WM_KEYLAST)
      status |= QS_KEY;
    else if (m.message == WM_MOUSEMOVE || m.message == WM_NCMOUSEMOVE)
      status |= QS_MOUSEMOVE;
    else if ((m.message >= WM_MOUSEFIRST && m.message <= WM_MOUSELAST) ||
             (m.message >= WM_NCLBUTTONDOWN && m.message <= 0x00A9))
      status |= QS_MOUSEBUTTON;
    else
      status |= QS_POSTMESSAGE | QS_ALLPOSTMESSAGE;
  }
  if (q->quit_posted) status |= QS_POSTMESSAGE | QS_ALLPOSTMESSAGE;
  if (!q->sent.empty()) status |= QS_SENDMESSAGE;
  if (find_paint_window_locked(q->thread_id, nullptr)) status |= QS_PAINT;
  const platform::clock::Millis now = platform::clock::now();
  for (const Timer& t : q->timers)
    if (t.due <= now) status |= QS_TIMER;
  status &= flags;
  return MAKELONG(static_cast<WORD>(status), static_cast<WORD>(status));
}

BOOL GetInputState() {
  return (GetQueueStatus(QS_INPUT) & 0xFFFF) ? TRUE : FALSE;
}

}  // extern "C"
