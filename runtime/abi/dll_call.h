// Calling a DLL command from compiled code: bind through service slot 1, call the routine with
// its own arguments, and check the stack position around the call (a routine that removed more
// or fewer bytes than declared is runtime error 6).
#pragma once

#include <cstdint>
#include <type_traits>

#include "runtime/abi/service_table.h"

namespace runtime {

inline constexpr std::int32_t kDllStackErrorCode = 6;

// Runtime error 6 when the two stack positions differ.
inline void check_dll_stack(const ServiceTable& services, std::uintptr_t before, std::uintptr_t after) {
  if (before != after) services.report_error(kDllStackErrorCode);
}

inline std::uintptr_t current_stack_position() {
#if defined(__x86_64__)
  std::uintptr_t sp;
  asm volatile("mov %%rsp, %0" : "=r"(sp));
  return sp;
#elif defined(__aarch64__)
  std::uintptr_t sp;
  asm volatile("mov %0, sp" : "=r"(sp));
  return sp;
#else
  return reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
#endif
}

template <class Result, class... Args>
Result call_dll_command(const ServiceTable& services, std::int32_t index, Args... args) {
  using Routine = Result (*)(Args...);
  auto routine = reinterpret_cast<Routine>(services.dll_command(index));
  std::uintptr_t before = current_stack_position();
  if constexpr (std::is_void_v<Result>) {
    routine(args...);
    check_dll_stack(services, before, current_stack_position());
  } else {
    Result result = routine(args...);
    check_dll_stack(services, before, current_stack_position());
    return result;
  }
}

}  // namespace runtime
