// The kernel handle table: every handle issued by CreateThread, CreateProcessA, CreateEventA and
// FindFirstFileA names one object here.
// Contract: handles are small integers cast to HANDLE, issued once and never reused, so a stale
// or closed handle is always recognised. lookup() answers null for a handle that is not open or
// whose object is not of the asked type. Waitable state (signaled, acquire) is read and changed
// only under the table's lock (KernelTable::lock()); whoever changes it calls notify().
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "platform/api/kernel.h"

namespace platform::kernel {

class KernelObject {
 public:
  virtual ~KernelObject() = default;
  virtual bool waitable() const { return false; }
  // Called under the table lock.
  virtual bool signaled() const { return false; }
  // A satisfied wait consumes the signal (auto-reset events); called under the table lock.
  virtual void acquire() {}
  // Threads (ours and a child's primary thread) report their exit code; under the table lock.
  virtual bool thread_exit_code(DWORD& code) const {
    (void)code;
    return false;
  }
};

class KernelTable {
 public:
  static KernelTable& instance();

  HANDLE insert(std::shared_ptr<KernelObject> object);
  // Removes the handle; false when it was not open.
  bool erase(HANDLE handle);
  std::shared_ptr<KernelObject> find(HANDLE handle);

  template <typename T>
  std::shared_ptr<T> lookup(HANDLE handle) {
    return std::dynamic_pointer_cast<T>(find(handle));
  }

  std::mutex& lock() { return mutex_; }
  std::condition_variable& changed() { return changed_; }
  // Wakes every waiter after waitable state changed: notify() without the lock held,
  // notify_locked() with it.
  void notify();
  void notify_locked();
  // Bumped by notify(); waiters compare it to notice wake-ups they could have missed.
  std::uint64_t generation() const { return generation_; }

 private:
  KernelTable() = default;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::unordered_map<std::uintptr_t, std::shared_ptr<KernelObject>> objects_;
  std::uintptr_t next_ = 0x1000;
  std::uint64_t generation_ = 0;
};

// Pseudo handles, valid only in the thread or process that asks for them.
inline HANDLE current_process_pseudo_handle() {
  return reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1));
}
inline HANDLE current_thread_pseudo_handle() {
  return reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-2));
}

}  // namespace platform::kernel
