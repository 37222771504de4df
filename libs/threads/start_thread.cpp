#include "libs/threads/start_thread.h"

#include <atomic>
#include <cstring>
#include <memory>

#include "platform/api/kernel.h"

namespace libs::threads {
namespace {

bool given(std::int32_t count, const runtime::ArgRecord* args, std::int32_t n) {
  return args != nullptr && n <= count && args[n - 1].tag != runtime::tag::kNone;
}

// Threads of the library are the program's own: the count belongs to the whole process.
std::atomic<int>& running() {
  static std::atomic<int> n{0};
  return n;
}

struct Start {
  LPTHREAD_START_ROUTINE routine;
  LPVOID parameter;
};

DWORD WINAPI run_counted(LPVOID p) {
  const std::unique_ptr<Start> start(static_cast<Start*>(p));
  struct Finished {
    ~Finished() { running().fetch_sub(1); }
  } finished;
  return start->routine(start->parameter);
}

HANDLE start_counted(LPTHREAD_START_ROUTINE routine, LPVOID parameter) {
  auto start = std::make_unique<Start>(Start{routine, parameter});
  running().fetch_add(1);
  DWORD thread_id = 0;
  HANDLE thread = CreateThread(nullptr, 0, &run_counted, start.get(), 0, &thread_id);
  if (thread != nullptr) {
    start.release();  // the thread owns it now
  } else {
    running().fetch_sub(1);
  }
  return thread;
}

}  // namespace

int running_threads() {
  return running().load();
}

void start_thread_command(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args) {
  // The compiled routine takes the parameter as its one argument and answers the exit code.
  auto routine = given(count, args, 1) ? reinterpret_cast<LPTHREAD_START_ROUTINE>(args[0].value()) : nullptr;
  // The parameter is a 32-bit integer; it reaches the routine widened to a pointer.
  auto* parameter =
      given(count, args, 2) ? reinterpret_cast<LPVOID>(static_cast<std::uintptr_t>(args[1].lo)) : nullptr;
  HANDLE thread = routine != nullptr ? start_counted(routine, parameter) : nullptr;
  if (given(count, args, 3)) {
    // The caller's integer variable receives the 32-bit handle value.
    auto handle = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(thread));
    if (auto* variable = args[2].pointer<void>()) std::memcpy(variable, &handle, sizeof handle);
  } else if (thread != nullptr) {
    CloseHandle(thread);
  }
  if (result != nullptr) {
    result->set_value(thread != nullptr ? 1 : 0);
    result->tag = runtime::tag::kBool;
  }
}

}  // namespace libs::threads
