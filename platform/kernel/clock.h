// The process clock: the one time source of everything the platform times for a program
// (GetTickCount, message times, timers, hover, caret blink, double clicks, the time-outs of
// MsgWaitForMultipleObjects) and of the animations above it.
// Contract:
// - now() counts milliseconds and never goes back, not even across a change of mode;
//   GetTickCount is its low 32 bits.
// - By default it runs with the system's steady clock. set_manual(true) stops it where it
//   stands; from then on only advance() moves it. set_manual(false) lets it run on with the
//   system's clock from where it stood.
// - advance() and set_manual() run every AdvanceWatch after the change, on the calling thread
//   and without any lock of the clock held, so that waiters look at the time again. A watch's
//   callback must not create or destroy a watch.
// - Waits for other threads and processes (WaitForSingleObject, Sleep, SendMessageTimeoutA)
//   stay on real time: a stopped clock never hangs a thread that waits for real work.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

namespace platform::clock {

using Millis = std::uint64_t;

struct Reading {
  Millis now = 0;
  bool manual = false;
};

Millis now();
Reading read();
void set_manual(bool manual);
// Moves the stopped clock forward; false (and nothing moves) while it runs with the system.
bool advance(Millis ms);

// Calls `wake` after every change of time or mode for as long as it lives.
class AdvanceWatch {
 public:
  explicit AdvanceWatch(std::function<void()> wake);
  ~AdvanceWatch();
  AdvanceWatch(const AdvanceWatch&) = delete;
  AdvanceWatch& operator=(const AdvanceWatch&) = delete;

 private:
  std::function<void()> wake_;
};

// Waits on `cv` (its mutex held through `lock`) until `done()` holds or the clock reaches
// `deadline`; answers done(). Under a stopped clock the wait has no real limit: the owner of
// `cv` keeps an AdvanceWatch that notifies it under the same mutex.
template <class Done>
bool wait_until(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, Millis deadline, Done done) {
  while (!done()) {
    const Reading r = read();
    if (r.now >= deadline) return false;
    if (r.manual)
      cv.wait(lock);
    else
      cv.wait_for(lock, std::chrono::milliseconds(deadline - r.now));
  }
  return true;
}

}  // namespace platform::clock
