#include <atomic>
#include <mutex>

#include "platform/api/kernel.h"

namespace {

std::recursive_mutex* mutex_of(LPCRITICAL_SECTION section) {
  return section ? static_cast<std::recursive_mutex*>(section->LockSemaphore) : nullptr;
}

HANDLE self() {
  return reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(GetCurrentThreadId()));
}

// Read by any thread (to refuse a leave by a non-owner), written only by the owner.
std::atomic_ref<HANDLE> owner(LPCRITICAL_SECTION section) {
  return std::atomic_ref<HANDLE>(section->OwningThread);
}

void note_entered(LPCRITICAL_SECTION section) {
  owner(section).store(self(), std::memory_order_relaxed);
  ++section->RecursionCount;
  ++section->LockCount;
}

}  // namespace

extern "C" void WINAPI InitializeCriticalSection(LPCRITICAL_SECTION section) {
  if (!section) return;
  *section = CRITICAL_SECTION{};
  section->LockSemaphore = new std::recursive_mutex();
}

// A section that was never initialised or is already deleted is ignored rather than crashed on.
extern "C" void WINAPI EnterCriticalSection(LPCRITICAL_SECTION section) {
  std::recursive_mutex* m = mutex_of(section);
  if (!m) return;
  m->lock();
  note_entered(section);
}

extern "C" BOOL WINAPI TryEnterCriticalSection(LPCRITICAL_SECTION section) {
  std::recursive_mutex* m = mutex_of(section);
  if (!m || !m->try_lock()) return FALSE;
  note_entered(section);
  return TRUE;
}

// Only the owner may leave; a leave by any other thread is ignored (unlocking a mutex one does
// not hold would corrupt it).
extern "C" void WINAPI LeaveCriticalSection(LPCRITICAL_SECTION section) {
  std::recursive_mutex* m = mutex_of(section);
  if (!m || owner(section).load(std::memory_order_relaxed) != self() || section->RecursionCount <= 0) return;
  --section->LockCount;
  if (--section->RecursionCount == 0) owner(section).store(nullptr, std::memory_order_relaxed);
  m->unlock();
}

extern "C" void WINAPI DeleteCriticalSection(LPCRITICAL_SECTION section) {
  std::recursive_mutex* m = mutex_of(section);
  if (!m) return;
  // Deleting a held mutex is undefined; the owner's own locks are released first.
  if (owner(section).load(std::memory_order_relaxed) == self())
    for (LONG i = 0; i < section->RecursionCount; ++i) m->unlock();
  delete m;
  *section = CRITICAL_SECTION{};
}
