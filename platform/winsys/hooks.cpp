#include "platform/winsys/hooks.h"

#include <algorithm>

#include "platform/winsys/wm_state.h"

namespace platform::winsys {
namespace {

bool applies(const Hook& h, int id, DWORD tid) {
  return h.id == id && (h.thread_id == 0 || h.thread_id == tid);
}

// The first hook of kind `id` for this thread after position `from` (inclusive).
HOOKPROC find_from_locked(int id, std::size_t from, HHOOK* handle) {
  const auto& hooks = state_locked().hooks;
  DWORD tid = this_thread_id();
  for (std::size_t i = from; i < hooks.size(); ++i) {
    if (applies(hooks[i], id, tid)) {
      *handle = hooks[i].handle;
      return hooks[i].proc;
    }
  }
  return nullptr;
}

}  // namespace

bool has_hooks(int id) {
  Lock lock(wm_mutex());
  HHOOK h;
  return find_from_locked(id, 0, &h) != nullptr;
}

LRESULT call_hooks(int id, int code, WPARAM wp, LPARAM lp) {
  HOOKPROC proc;
  {
    Lock lock(wm_mutex());
    HHOOK h;
    proc = find_from_locked(id, 0, &h);
  }
  return proc ? proc(code, wp, lp) : 0;
}

}  // namespace platform::winsys

using namespace platform::winsys;

extern "C" {

HHOOK SetWindowsHookExA(int id, HOOKPROC proc, HINSTANCE, DWORD thread_id) {
  if (!proc || (id != WH_CALLWNDPROC && id != WH_GETMESSAGE && id != WH_CBT && id != WH_CALLWNDPROCRET &&
                id != WH_MSGFILTER))
    return nullptr;
  Lock lock(wm_mutex());
  State& s = state_locked();
  if (thread_id != 0 && thread_id != this_thread_id() && !queue_of_locked(thread_id)) return nullptr;
  s.next_hook += 2;
  Hook h{reinterpret_cast<HHOOK>(s.next_hook), id, proc, thread_id};
  s.hooks.insert(s.hooks.begin(), h);  // the newest hook runs first
  return h.handle;
}

BOOL UnhookWindowsHookEx(HHOOK hook) {
  Lock lock(wm_mutex());
  auto& hooks = state_locked().hooks;
  auto it = std::find_if(hooks.begin(), hooks.end(), [&](const Hook& h) { return h.handle == hook; });
  if (it == hooks.end()) return FALSE;
  hooks.erase(it);
  return TRUE;
}

LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wp, LPARAM lp) {
  HOOKPROC next = nullptr;
  {
    Lock lock(wm_mutex());
    const auto& hooks = state_locked().hooks;
    auto it = std::find_if(hooks.begin(), hooks.end(), [&](const Hook& h) { return h.handle == hook; });
    if (it == hooks.end()) return 0;
    HHOOK h;
    next = find_from_locked(it->id, static_cast<std::size_t>(it - hooks.begin()) + 1, &h);
  }
  return next ? next(code, wp, lp) : 0;
}

}  // extern "C"
