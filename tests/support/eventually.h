// Waiting for something another thread or process does: the condition is polled until it holds
// or the deadline passes, so a test never assumes how long the work takes.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace test_support {

inline bool eventually(const std::function<bool()>& done, std::chrono::milliseconds deadline,
                       std::chrono::milliseconds step = std::chrono::milliseconds(20)) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  while (std::chrono::steady_clock::now() < end) {
    if (done()) return true;
    std::this_thread::sleep_for(step);
  }
  return done();
}

}  // namespace test_support
