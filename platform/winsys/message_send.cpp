#include <algorithm>
#include <vector>

#include "platform/display/backend.h"
#include "platform/winsys/dispatch.h"
#include "platform/winsys/hooks.h"
#include "platform/winsys/window_lookup.h"

namespace platform::winsys {
namespace {

// How long a thread may go without looking at its queue before SMTO_ABORTIFHUNG gives up.
constexpr auto kHungAfter = std::chrono::seconds(5);

std::vector<SentPtr>& serving_stack() {
  thread_local std::vector<SentPtr> stack;
  return stack;
}

void reply(const SentPtr& m, LRESULT r) {
  bool wake_disp = false;
  {
    Lock lock(wm_mutex());
    if (m->done) return;
    m->done = true;
    m->result = r;
    if (m->sender) wake_disp = wake_locked(*m->sender);
  }
  if (wake_disp) wake_display();
}

}  // namespace

LRESULT call_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  WNDPROC proc;
  WindowPtr keep;  // the record outlives a procedure that destroys its own window
  {
    Lock lock(wm_mutex());
    keep = find_locked(hwnd);
    if (!keep || is_desktop_locked(*keep)) return 0;
    proc = keep->proc;
  }
  return proc ? proc(hwnd, msg, wp, lp) : DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT deliver_sent(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, bool from_this_thread) {
  if (has_hooks(WH_CALLWNDPROC)) {
    CWPSTRUCT cwp{lp, wp, msg, hwnd};
    call_hooks(WH_CALLWNDPROC, HC_ACTION, from_this_thread ? 1 : 0, reinterpret_cast<LPARAM>(&cwp));
  }
  LRESULT r = call_proc(hwnd, msg, wp, lp);
  if (has_hooks(WH_CALLWNDPROCRET)) {
    CWPRETSTRUCT ret{r, lp, wp, msg, hwnd};
    call_hooks(WH_CALLWNDPROCRET, HC_ACTION, from_this_thread ? 1 : 0, reinterpret_cast<LPARAM>(&ret));
  }
  return r;
}

bool serve_sent_messages() {
  bool any = false;
  for (;;) {
    SentPtr m;
    {
      Lock lock(wm_mutex());
      QueuePtr q = current_queue_locked();
      q->last_served = Clock::now();
      if (q->sent.empty()) break;
      m = q->sent.front();
      q->sent.pop_front();
    }
    any = true;
    serving_stack().push_back(m);
    LRESULT r = deliver_sent(m->hwnd, m->msg, m->wp, m->lp, false);
    serving_stack().pop_back();
    reply(m, r);
  }
  return any;
}

void wait_for_wake(Lock& lock, ThreadQueue& q, std::optional<clock::Millis> deadline) {
  std::uint64_t serial = q.wake_serial;
  bool on_display = state_locked().display_thread == q.thread_id;
  // A stopped clock sets no real limit: advancing it wakes every queue.
  const clock::Reading time = clock::read();
  if (deadline && *deadline <= time.now) return;
  std::optional<clock::Millis> left;
  if (deadline && !time.manual) left = *deadline - time.now;
  if (!on_display) {
    auto woken = [&] { return q.wake_serial != serial; };
    if (left)
      q.cv.wait_for(lock, std::chrono::milliseconds(*left), woken);
    else
      q.cv.wait(lock, woken);
    return;
  }
  lock.unlock();
  drain_display_calls();
  bool events = display::backend().pump();
  lock.lock();
  if (events || q.wake_serial != serial || !q.sent.empty()) return;
  int ms = -1;
  if (left) {
    // The time spent pumping counts against it.
    const clock::Millis at = clock::now();
    ms = at >= *deadline ? 0 : static_cast<int>(std::min<clock::Millis>(*deadline - at + 1, 1 << 30));
  }
  lock.unlock();
  display::backend().wait(ms);
  lock.lock();
}

bool send_message(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT flags, int timeout_ms, LRESULT* result) {
  *result = 0;
  SentPtr m;
  QueuePtr self;
  bool wake_disp = false;
  {
    Lock lock(wm_mutex());
    WindowPtr w = checked_locked(hwnd);
    if (!w || is_desktop_locked(*w)) return false;
    if (w->thread_id == this_thread_id()) {
      lock.unlock();
      *result = deliver_sent(hwnd, msg, wp, lp, true);
      return true;
    }
    QueuePtr target = queue_of_locked(w->thread_id);
    if (!target || !target->alive) return false;
    if ((flags & SMTO_ABORTIFHUNG) && Clock::now() - target->last_served > kHungAfter) return false;
    self = current_queue_locked();
    m = std::make_shared<SentMessage>();
    *m = SentMessage{hwnd, msg, wp, lp, self, false, false, 0};
    target->sent.push_back(m);
    wake_disp = wake_locked(*target);
  }
  if (wake_disp) wake_display();
  std::optional<Clock::time_point> deadline;
  if (timeout_ms >= 0) deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  Lock lock(wm_mutex());
  while (!m->done) {
    if (!self->sent.empty()) {
      lock.unlock();
      serve_sent_messages();
      lock.lock();
      continue;
    }
    if (deadline && Clock::now() >= *deadline) {
      m->abandoned = true;
      m->sender = nullptr;
      return false;
    }
    std::uint64_t serial = self->wake_serial;
    auto woken = [&] { return self->wake_serial != serial || m->done; };
    if (deadline)
      self->cv.wait_until(lock, *deadline, woken);
    else
      self->cv.wait(lock, woken);
  }
  *result = m->result;
  return true;
}

}  // namespace platform::winsys

using namespace platform::winsys;

extern "C" {

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT r = 0;
  send_message(hwnd, msg, wp, lp, SMTO_NORMAL, -1, &r);
  return r;
}

LRESULT SendMessageTimeoutA(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT flags, UINT timeout_ms,
                            DWORD_PTR* result) {
  LRESULT r = 0;
  int ms = timeout_ms > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int>(timeout_ms);
  bool ok = send_message(hwnd, msg, wp, lp, flags, ms, &r);
  if (result) *result = ok ? static_cast<DWORD_PTR>(r) : 0;
  return ok ? 1 : 0;
}

BOOL SendNotifyMessageA(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  bool wake_disp = false;
  {
    LockedWindow w(hwnd);
    if (!w || is_desktop_locked(*w)) return FALSE;
    if (w->thread_id != this_thread_id()) {
      QueuePtr target = queue_of_locked(w->thread_id);
      if (!target || !target->alive) return FALSE;
      auto m = std::make_shared<SentMessage>();
      *m = SentMessage{hwnd, msg, wp, lp, nullptr, false, false, 0};
      target->sent.push_back(m);
      wake_disp = wake_locked(*target);
      w.lock().unlock();
      if (wake_disp) wake_display();
      return TRUE;
    }
  }
  deliver_sent(hwnd, msg, wp, lp, true);
  return TRUE;
}

BOOL InSendMessage() {
  return !serving_stack().empty() && serving_stack().back()->sender ? TRUE : FALSE;
}

DWORD InSendMessageEx(LPVOID) {
  if (serving_stack().empty()) return ISMEX_NOSEND;
  const SentPtr& m = serving_stack().back();
  DWORD r = m->sender || m->abandoned ? ISMEX_SEND : ISMEX_NOTIFY;
  Lock lock(wm_mutex());
  if (m->done) r |= ISMEX_REPLIED;
  return r;
}

BOOL ReplyMessage(LRESULT result) {
  if (serving_stack().empty()) return FALSE;
  reply(serving_stack().back(), result);
  return TRUE;
}

}  // extern "C"
