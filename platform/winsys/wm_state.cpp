#include "platform/winsys/wm_state.h"

#include <algorithm>

#include "platform/api/kernel.h"
#include "platform/display/backend.h"
#include "platform/gdi/screen_info.h"
#include "platform/kernel/wait_hook.h"
#include "platform/winsys/display_sink.h"

namespace platform::winsys {
namespace {

// Windows of a thread that ends without destroying them cannot receive messages any more:
// they are removed silently (no WM_DESTROY) and their handles become invalid.
void release_thread(DWORD tid) {
  std::vector<HWND> gone_tops;
  bool wake_disp = false;
  {
    Lock lock(wm_mutex());
    State& s = state_locked();
    auto it = s.queues.find(tid);
    if (it == s.queues.end()) return;
    QueuePtr q = it->second;
    q->alive = false;
    for (auto& sent : q->sent) {
      sent->done = true;
      sent->result = 0;
      if (sent->sender) wake_disp |= wake_locked(*sent->sender);
    }
    q->sent.clear();
    std::vector<HWND> mine;
    for (auto& [h, w] : s.windows)
      if (w->thread_id == tid) mine.push_back(h);
    for (HWND h : mine) {
      auto w = s.windows[h];
      if (is_top_level_locked(*w)) gone_tops.push_back(h);
      if (auto p = find_locked(w->parent)) std::erase(p->children, h);
      if (s.capture == h) s.capture = nullptr;
      if (s.foreground == h) s.foreground = nullptr;
      if (w->cls) --w->cls->window_count;
    }
    for (HWND h : mine) s.windows.erase(h);
    std::erase_if(s.hooks, [&](const Hook& k) { return k.thread_id == tid; });
    s.queues.erase(it);
    if (s.display_thread == tid) {
      s.display_thread = 0;
      gone_tops.clear();  // nobody is left to tell the backend
    }
  }
  if (wake_disp) wake_display();
  for (HWND h : gone_tops) run_on_display([h](display::Backend& b) { b.window_destroyed(h); });
}

struct ThreadExit {
  DWORD tid;
  ~ThreadExit() { release_thread(tid); }
};

// A stopped clock that moves may make timers and time-outs due: every waiting thread looks again.
void wake_every_waiter() {
  {
    Lock lock(wm_mutex());
    for (auto& [tid, q] : state_locked().queues) wake_locked(*q);
  }
  wake_display();
}

// Made at start-up, outside the window manager's lock, which its callback takes.
const clock::AdvanceWatch waiters_watch{&wake_every_waiter};

}  // namespace

std::mutex& wm_mutex() {
  static std::mutex m;
  return m;
}

State& state_locked() {
  static State s = [] {
    install_display_sink();
    State st;
    auto d = std::make_shared<Window>();
    d->handle = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x10000));
    d->style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
    st.desktop = d;
    st.windows[d->handle] = d;
    return st;
  }();
  return s;
}

DWORD this_thread_id() {
  return GetCurrentThreadId();
}

DWORD tick_count() {
  return GetTickCount();
}

SIZE screen_size() {
  // Choosing the backend tells GDI the screen's logical size (device size over the scale).
  static const bool chosen = [] { return !display::backend().name().empty(); }();
  (void)chosen;
  return gdi::screen_size();
}

WindowPtr find_locked(HWND hwnd) {
  if (!hwnd) return nullptr;
  State& s = state_locked();
  auto it = s.windows.find(hwnd);
  if (it == s.windows.end()) return nullptr;
  if (it->second == s.desktop) {
    SIZE sz = screen_size();
    s.desktop->window_rect = s.desktop->client_rect = {0, 0, sz.cx, sz.cy};
  }
  return it->second;
}

WindowPtr find_window(HWND hwnd) {
  Lock lock(wm_mutex());
  return find_locked(hwnd);
}

QueuePtr queue_of_locked(DWORD thread_id) {
  State& s = state_locked();
  auto it = s.queues.find(thread_id);
  return it == s.queues.end() ? nullptr : it->second;
}

QueuePtr current_queue_locked() {
  DWORD tid = this_thread_id();
  if (auto q = queue_of_locked(tid)) return q;
  thread_local ThreadExit on_exit{tid};
  (void)on_exit;
  auto q = std::make_shared<ThreadQueue>();
  q->thread_id = tid;
  state_locked().queues[tid] = q;
  return q;
}

HWND new_handle_locked() {
  State& s = state_locked();
  s.next_handle += 2;
  return reinterpret_cast<HWND>(s.next_handle);
}

bool is_desktop_locked(const Window& w) {
  return &w == state_locked().desktop.get();
}

bool is_top_level_locked(const Window& w) {
  return !is_desktop_locked(w) && w.parent == state_locked().desktop->handle;
}

WindowPtr top_level_of_locked(WindowPtr w) {
  while (w && !is_desktop_locked(*w) && !is_top_level_locked(*w)) w = find_locked(w->parent);
  if (w && is_desktop_locked(*w)) return nullptr;
  return w;
}

bool really_visible_locked(const Window& w) {
  const Window* cur = &w;
  while (cur && !is_desktop_locked(*cur)) {
    if (!(cur->style & WS_VISIBLE)) return false;
    auto p = find_locked(cur->parent);
    cur = p.get();
  }
  return cur != nullptr;
}

static POINT parent_client_origin(const Window& w) {
  auto p = find_locked(w.parent);
  if (!p || is_desktop_locked(*p)) return {0, 0};
  return client_screen_origin_locked(*p);
}

POINT window_screen_origin_locked(const Window& w) {
  POINT o = parent_client_origin(w);
  return {o.x + w.window_rect.left, o.y + w.window_rect.top};
}

POINT client_screen_origin_locked(const Window& w) {
  if (is_desktop_locked(w)) return {0, 0};
  POINT o = parent_client_origin(w);
  return {o.x + w.client_rect.left, o.y + w.client_rect.top};
}

POINT window_origin_in_top_locked(const Window& w) {
  auto top = top_level_of_locked(find_locked(w.handle));
  if (!top) return {0, 0};
  POINT a = window_screen_origin_locked(w);
  POINT t = window_screen_origin_locked(*top);
  return {a.x - t.x, a.y - t.y};
}

bool wake_locked(ThreadQueue& q) {
  ++q.wake_serial;
  q.cv.notify_all();
  return q.thread_id == state_locked().display_thread || q.kernel_waits > 0;
}

void wake_display() {
  bool display;
  {
    Lock lock(wm_mutex());
    display = state_locked().display_thread != 0;
  }
  if (display) display::backend().wake();
  // A thread in MsgWaitForMultipleObjects sleeps in the kernel wait, not on its queue.
  platform::kernel::wake_waiters();
}

void run_on_display(std::function<void(display::Backend&)> call) {
  {
    Lock lock(wm_mutex());
    State& s = state_locked();
    if (!s.display_thread) return;
    if (s.display_thread != this_thread_id()) {
      s.display_calls.push_back(std::move(call));
      lock.unlock();
      display::backend().wake();
      return;
    }
  }
  call(display::backend());
}

void drain_display_calls() {
  for (;;) {
    std::function<void(display::Backend&)> call;
    {
      Lock lock(wm_mutex());
      State& s = state_locked();
      if (s.display_thread != this_thread_id() || s.display_calls.empty()) return;
      call = std::move(s.display_calls.front());
      s.display_calls.pop_front();
    }
    call(display::backend());
  }
}

}  // namespace platform::winsys
