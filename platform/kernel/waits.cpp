// Handle closing, waits on kernel objects, events, Sleep and the tick count.
#include <atomic>
#include <chrono>
#include <span>
#include <thread>
#include <vector>

#include "platform/api/kernel.h"
#include "platform/kernel/clock.h"
#include "platform/kernel/objects.h"
#include "platform/kernel/wait_hook.h"

namespace platform::kernel {
namespace {

std::atomic<WaitHook>& wait_hook() {
  static std::atomic<WaitHook> hook{nullptr};
  return hook;
}

class EventObject final : public KernelObject {
 public:
  EventObject(bool manual_reset, bool state) : manual_reset_(manual_reset), state_(state) {}
  bool waitable() const override { return true; }
  bool signaled() const override { return state_; }
  void acquire() override {
    if (!manual_reset_) state_ = false;
  }
  void set(bool state) { state_ = state; }

 private:
  bool manual_reset_;
  bool state_;
};

using Clock = std::chrono::steady_clock;

bool all_signaled(const std::vector<std::shared_ptr<KernelObject>>& objects) {
  for (auto& o : objects)
    if (!o->signaled()) return false;
  return true;
}

}  // namespace

DWORD wait_for_objects(std::span<const HANDLE> handles, bool wait_all, DWORD milliseconds,
                       WaitInterrupt interrupted, void* context) {
  if (handles.size() > MAXIMUM_WAIT_OBJECTS || (handles.empty() && !interrupted)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  KernelTable& table = KernelTable::instance();
  // Holding the objects keeps them alive if another thread closes a handle meanwhile.
  std::vector<std::shared_ptr<KernelObject>> objects;
  for (HANDLE h : handles) {
    auto object = table.find(h);
    if (!object || !object->waitable()) {
      SetLastError(ERROR_INVALID_HANDLE);
      return WAIT_FAILED;
    }
    objects.push_back(std::move(object));
  }
  const bool forever = milliseconds == INFINITE;
  const auto deadline = Clock::now() + std::chrono::milliseconds(forever ? 0 : milliseconds);
  std::unique_lock lock(table.lock());
  for (;;) {
    if (!objects.empty()) {
      if (wait_all) {
        if (all_signaled(objects)) {
          for (auto& o : objects) o->acquire();
          return WAIT_OBJECT_0;
        }
      } else {
        for (std::size_t i = 0; i < objects.size(); ++i) {
          if (objects[i]->signaled()) {
            objects[i]->acquire();
            return WAIT_OBJECT_0 + static_cast<DWORD>(i);
          }
        }
      }
    }
    WaitHook hook = wait_hook().load();
    if (hook || interrupted) {
      // Both run without the kernel lock: they may call back into the kernel.
      std::uint64_t seen = table.generation();
      lock.unlock();
      if (hook) hook();
      bool stop = interrupted && interrupted(context);
      lock.lock();
      if (stop) return WAIT_OBJECT_0 + static_cast<DWORD>(objects.size());
      if (table.generation() != seen) continue;
    }
    if (!forever && Clock::now() >= deadline) return WAIT_TIMEOUT;
    if (forever)
      table.changed().wait(lock);
    else
      table.changed().wait_until(lock, deadline);
  }
}

void set_wait_hook(WaitHook hook) {
  wait_hook().store(hook);
}

void wake_waiters() {
  KernelTable::instance().notify();
}

}  // namespace platform::kernel

using platform::kernel::KernelTable;

extern "C" BOOL WINAPI CloseHandle(HANDLE handle) {
  if (handle == platform::kernel::current_process_pseudo_handle() ||
      handle == platform::kernel::current_thread_pseudo_handle())
    return TRUE;
  if (!KernelTable::instance().erase(handle)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

extern "C" DWORD WINAPI WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
  return platform::kernel::wait_for_objects(std::span(&handle, 1), false, milliseconds);
}

extern "C" DWORD WINAPI WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL wait_all,
                                               DWORD milliseconds) {
  if (!handles) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  return platform::kernel::wait_for_objects(std::span(handles, count), wait_all != FALSE, milliseconds);
}

// Names are not shared between processes here: a named event is a private event.
extern "C" HANDLE WINAPI CreateEventA(LPSECURITY_ATTRIBUTES, BOOL manual_reset, BOOL initial_state, LPCSTR) {
  return KernelTable::instance().insert(
      std::make_shared<platform::kernel::EventObject>(manual_reset != FALSE, initial_state != FALSE));
}

namespace {
BOOL set_event_state(HANDLE handle, bool state) {
  KernelTable& table = KernelTable::instance();
  auto event = table.lookup<platform::kernel::EventObject>(handle);
  if (!event) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  std::lock_guard guard(table.lock());
  event->set(state);
  if (state) table.notify_locked();
  return TRUE;
}
}  // namespace

extern "C" BOOL WINAPI SetEvent(HANDLE event) {
  return set_event_state(event, true);
}

extern "C" BOOL WINAPI ResetEvent(HANDLE event) {
  return set_event_state(event, false);
}

extern "C" void WINAPI Sleep(DWORD milliseconds) {
  if (milliseconds == 0) {
    std::this_thread::yield();
    return;
  }
  // INFINITE sleeps for good, as on the platform.
  if (milliseconds == INFINITE) {
    for (;;) std::this_thread::sleep_for(std::chrono::hours(24));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

extern "C" DWORD WINAPI GetTickCount() {
  // Wraps after 49.7 days, as the platform's counter does.
  return static_cast<DWORD>(platform::clock::now());
}
