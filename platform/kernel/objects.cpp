#include "platform/kernel/objects.h"

namespace platform::kernel {

KernelTable& KernelTable::instance() {
  // Never destroyed: detached threads and reapers may still touch it while the process ends.
  static KernelTable* table = new KernelTable();
  return *table;
}

HANDLE KernelTable::insert(std::shared_ptr<KernelObject> object) {
  std::lock_guard guard(mutex_);
  std::uintptr_t id = next_;
  next_ += 4;
  objects_.emplace(id, std::move(object));
  return reinterpret_cast<HANDLE>(id);
}

bool KernelTable::erase(HANDLE handle) {
  std::shared_ptr<KernelObject> doomed;  // released outside the lock
  std::lock_guard guard(mutex_);
  auto it = objects_.find(reinterpret_cast<std::uintptr_t>(handle));
  if (it == objects_.end()) return false;
  doomed = std::move(it->second);
  objects_.erase(it);
  return true;
}

std::shared_ptr<KernelObject> KernelTable::find(HANDLE handle) {
  std::lock_guard guard(mutex_);
  auto it = objects_.find(reinterpret_cast<std::uintptr_t>(handle));
  return it == objects_.end() ? nullptr : it->second;
}

void KernelTable::notify() {
  {
    std::lock_guard guard(mutex_);
    ++generation_;
  }
  changed_.notify_all();
}

void KernelTable::notify_locked() {
  ++generation_;
  changed_.notify_all();
}

}  // namespace platform::kernel
