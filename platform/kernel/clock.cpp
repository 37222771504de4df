#include "platform/kernel/clock.h"

#include <algorithm>
#include <vector>

namespace platform::clock {
namespace {

struct State {
  std::mutex mutex;
  bool manual = false;
  std::int64_t offset = 0;  // added to the system clock while it runs
  Millis stopped = 0;       // the time while it stands
};

// The clock is process-wide by design: every timer and wait of every thread reads the same one.
State& state() {
  static State s;
  return s;
}

struct Watches {
  std::mutex mutex;
  std::vector<const std::function<void()>*> list;
};

Watches& watches() {
  static Watches w;
  return w;
}

Millis system_ms() {
  using namespace std::chrono;
  return static_cast<Millis>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

Reading read_locked(const State& s) {
  return Reading{
      s.manual ? s.stopped : static_cast<Millis>(static_cast<std::int64_t>(system_ms()) + s.offset),
      s.manual};
}

// Holding the list's lock while calling keeps a watch from going away in the middle of its call.
void run_watches() {
  Watches& w = watches();
  std::lock_guard lock(w.mutex);
  for (const std::function<void()>* wake : w.list) (*wake)();
}

}  // namespace

Millis now() {
  return read().now;
}

Reading read() {
  State& s = state();
  std::lock_guard lock(s.mutex);
  return read_locked(s);
}

void set_manual(bool manual) {
  {
    State& s = state();
    std::lock_guard lock(s.mutex);
    if (s.manual == manual) return;
    const Millis at = read_locked(s).now;
    s.manual = manual;
    if (manual) {
      s.stopped = at;
    } else {
      // Runs on from where it stood, whatever the system's clock did meanwhile.
      s.offset = static_cast<std::int64_t>(at) - static_cast<std::int64_t>(system_ms());
    }
  }
  run_watches();
}

bool advance(Millis ms) {
  {
    State& s = state();
    std::lock_guard lock(s.mutex);
    if (!s.manual) return false;
    s.stopped += ms;
  }
  run_watches();
  return true;
}

AdvanceWatch::AdvanceWatch(std::function<void()> wake) : wake_(std::move(wake)) {
  Watches& w = watches();
  std::lock_guard lock(w.mutex);
  w.list.push_back(&wake_);
}

AdvanceWatch::~AdvanceWatch() {
  Watches& w = watches();
  std::lock_guard lock(w.mutex);
  std::erase(w.list, &wake_);
}

}  // namespace platform::clock
