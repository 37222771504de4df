#include "libs/threads/start_thread.h"

#include <cstring>

#include "platform/api/kernel.h"

namespace libs::threads {
namespace {

bool given(std::int32_t count, const runtime::ArgRecord* args, std::int32_t n) {
  return args != nullptr && n <= count && args[n - 1].tag != runtime::tag::kNone;
}

}  // namespace

void start_thread_command(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args) {
  // The compiled routine takes the parameter as its one argument and answers the exit code.
  auto routine = given(count, args, 1) ? reinterpret_cast<LPTHREAD_START_ROUTINE>(args[0].value()) : nullptr;
  // The parameter is a 32-bit integer; it reaches the routine widened to a pointer.
  auto* parameter =
      given(count, args, 2) ? reinterpret_cast<LPVOID>(static_cast<std::uintptr_t>(args[1].lo)) : nullptr;
  HANDLE thread = nullptr;
  if (routine != nullptr) {
    DWORD thread_id = 0;
    thread = CreateThread(nullptr, 0, routine, parameter, 0, &thread_id);
  }
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
