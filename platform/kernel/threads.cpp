// Threads: CreateThread on detached POSIX threads, exit codes, thread ids.
#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <climits>
#include <memory>

#include "platform/api/kernel.h"
#include "platform/kernel/objects.h"

namespace platform::kernel {
namespace {

class ThreadObject final : public KernelObject {
 public:
  ThreadObject(LPTHREAD_START_ROUTINE start, LPVOID parameter, bool suspended)
      : start_(start), parameter_(parameter), suspended_(suspended) {}
  bool waitable() const override { return true; }
  bool signaled() const override { return finished_; }
  bool thread_exit_code(DWORD& code) const override {
    code = exit_code_;
    return true;
  }

  // All fields below are guarded by the table lock.
  LPTHREAD_START_ROUTINE start_;
  LPVOID parameter_;
  bool suspended_;
  bool started_ = false;
  bool finished_ = false;
  DWORD id_ = 0;
  DWORD exit_code_ = STILL_ACTIVE;
};

void* thread_main(void* arg) {
  std::unique_ptr<std::shared_ptr<ThreadObject>> holder(static_cast<std::shared_ptr<ThreadObject>*>(arg));
  std::shared_ptr<ThreadObject> self = std::move(*holder);
  holder.reset();
  KernelTable& table = KernelTable::instance();
  {
    std::unique_lock lock(table.lock());
    self->id_ = GetCurrentThreadId();
    self->started_ = true;
    table.notify_locked();
    table.changed().wait(lock, [&] { return !self->suspended_; });
  }
  DWORD code = self->start_(self->parameter_);
  {
    std::lock_guard guard(table.lock());
    self->exit_code_ = code;
    self->finished_ = true;
    table.notify_locked();
  }
  return nullptr;
}

}  // namespace
}  // namespace platform::kernel

using platform::kernel::KernelTable;
using platform::kernel::ThreadObject;

extern "C" HANDLE WINAPI CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T stack_size, LPTHREAD_START_ROUTINE start,
                                      LPVOID parameter, DWORD flags, LPDWORD thread_id) {
  if (!start) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto thread = std::make_shared<ThreadObject>(start, parameter, (flags & CREATE_SUSPENDED) != 0);
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
  if (stack_size != 0) {
    if (stack_size < static_cast<SIZE_T>(PTHREAD_STACK_MIN))
      stack_size = static_cast<SIZE_T>(PTHREAD_STACK_MIN);
    pthread_attr_setstacksize(&attr, stack_size);
  }
  auto arg = std::make_unique<std::shared_ptr<ThreadObject>>(thread);
  pthread_t tid;
  int rc = pthread_create(&tid, &attr, platform::kernel::thread_main, arg.get());
  pthread_attr_destroy(&attr);
  if (rc != 0) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  arg.release();  // the new thread owns it now
  KernelTable& table = KernelTable::instance();
  DWORD id;
  {
    // The id is the new thread's own system id, known once it runs.
    std::unique_lock lock(table.lock());
    table.changed().wait(lock, [&] { return thread->started_; });
    id = thread->id_;
  }
  if (thread_id) *thread_id = id;
  return table.insert(thread);
}

extern "C" DWORD WINAPI ResumeThread(HANDLE handle) {
  KernelTable& table = KernelTable::instance();
  auto thread = table.lookup<ThreadObject>(handle);
  if (!thread) {
    SetLastError(ERROR_INVALID_HANDLE);
    return static_cast<DWORD>(-1);
  }
  std::lock_guard guard(table.lock());
  DWORD previous = thread->suspended_ ? 1 : 0;
  thread->suspended_ = false;
  table.notify_locked();
  return previous;
}

extern "C" DWORD WINAPI GetCurrentThreadId() {
  thread_local DWORD id = static_cast<DWORD>(syscall(SYS_gettid));
  return id;
}

extern "C" HANDLE WINAPI GetCurrentThread() {
  return platform::kernel::current_thread_pseudo_handle();
}

extern "C" BOOL WINAPI GetExitCodeThread(HANDLE handle, LPDWORD exit_code) {
  if (!exit_code) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (handle == platform::kernel::current_thread_pseudo_handle()) {
    *exit_code = STILL_ACTIVE;
    return TRUE;
  }
  KernelTable& table = KernelTable::instance();
  auto object = table.find(handle);
  std::lock_guard guard(table.lock());
  if (!object || !object->thread_exit_code(*exit_code)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}
