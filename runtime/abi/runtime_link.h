// A support library's link to the runtime: the runtime callback that its notify routine is
// handed at start-up (notify::kStart), kept for every later call into the runtime.
// Contract:
// - attach() keeps the callback (null detaches); attach and call may run on any thread.
// - call() passes code and arguments to the attached callback and answers its result.
// - Before a callback is attached there is no runtime to talk to: call() names the code on
//   stderr and aborts. Code that calls a library's commands without a start-up (its tests)
//   attaches a callback first.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "runtime/abi/image.h"

namespace runtime {

// An address (of data or of a routine) as a callback argument.
template <class T>
std::intptr_t address_word(T* p) {
  return reinterpret_cast<std::intptr_t>(p);
}

class RuntimeLink {
 public:
  constexpr RuntimeLink() = default;
  RuntimeLink(const RuntimeLink&) = delete;
  RuntimeLink& operator=(const RuntimeLink&) = delete;

  void attach(RuntimeCallback callback) { callback_.store(callback, std::memory_order_release); }
  // The attached callback, or null.
  RuntimeCallback callback() const { return callback_.load(std::memory_order_acquire); }

  std::intptr_t call(std::int32_t code, std::intptr_t arg1 = 0, std::intptr_t arg2 = 0) const {
    const RuntimeCallback c = callback();
    if (c == nullptr) {
      std::fprintf(stderr, "runtime callback %d called before start-up handed one over\n", code);
      std::abort();
    }
    return c(code, arg1, arg2);
  }

 private:
  std::atomic<RuntimeCallback> callback_{nullptr};
};

}  // namespace runtime
