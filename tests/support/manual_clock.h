// Stops the process clock for the life of the guard, so that a test steps time instead of
// sleeping: timers, hover, caret blink, double clicks, message-wait time-outs and GIF delays
// move only when the test calls advance(). Works on the headless display only; a test checks
// active() (or skips as it would without the headless display).
#pragma once

#include "platform/winsys/headless.h"

namespace lyr::test {

class ManualClock {
 public:
  ManualClock() : active_(platform::headless::use_manual_clock(true)) {}
  ~ManualClock() {
    if (active_) platform::headless::use_manual_clock(false);
  }
  ManualClock(const ManualClock&) = delete;
  ManualClock& operator=(const ManualClock&) = delete;

  bool active() const { return active_; }
  void advance(DWORD ms) { platform::headless::advance_time(ms); }

 private:
  bool active_;
};

}  // namespace lyr::test
