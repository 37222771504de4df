#include "ui/windows/window_idle.h"

#include <cstdint>
#include <vector>

#include "platform/api/kernel.h"
#include "ui/state/window_lookups.h"
#include "ui/templates/window_collection.h"
#include "ui/units/unit.h"

namespace ui {
namespace {

constexpr std::int32_t kIdleEvent = 7;

// Main-thread state of the current idle period.
struct IdlePeriod {
  DWORD started = 0;
  std::vector<bool> left;  // by window index: done for this period
};

IdlePeriod& period() {
  static IdlePeriod p;
  return p;
}

}  // namespace

bool idle_windows(long count) {
  IdlePeriod& p = period();
  const std::size_t windows = templates::window_collection().size();
  if (count == 0) {
    p.started = GetTickCount();
    p.left.assign(windows, false);
  }
  if (p.left.size() < windows) p.left.resize(windows, false);

  bool more = false;
  for (std::size_t i = 0; i < windows && i < templates::window_collection().size(); ++i) {
    if (p.left[i]) continue;
    Unit* window = live_unit(i, 0);
    if (window == nullptr) {
      p.left[i] = true;
      continue;
    }
    const EventOutcome outcome = window->raise(kIdleEvent, {GetTickCount() - p.started});
    const bool wants_more = outcome.handled && outcome.result_present && outcome.result != 0;
    if (wants_more) {
      more = true;
    } else if (i < p.left.size()) {
      p.left[i] = true;
    }
  }
  return more;
}

}  // namespace ui
