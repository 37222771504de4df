#include "tests/ui/main_window_template.h"

#include <array>

#include "runtime/abi/event_handler.h"

namespace ui_test {
namespace {

int& handler_runs(int n) {
  static int runs[6] = {};
  return runs[n];
}

runtime::HandlerResult quiet_handler(const std::uint64_t*, std::int32_t) {
  return runtime::returns_nothing();
}

// Distinct bodies, so that no two handlers can be folded into one address.
template <int N>
runtime::HandlerResult handler(const std::uint64_t*, std::int32_t) {
  ++handler_runs(N);
  return runtime::returns_nothing();
}

const MainWindowCodeBase& distinct_code_base() {
  static const MainWindowCodeBase code({as_routine(&handler<0>), as_routine(&handler<1>),
                                        as_routine(&handler<2>), as_routine(&handler<3>),
                                        as_routine(&handler<4>), as_routine(&handler<5>)});
  return code;
}

}  // namespace

MainWindowCodeBase::MainWindowCodeBase(
    const std::array<runtime::Routine, kMainWindowHandlers.size()>& routines) {
  for (std::size_t i = 0; i < entries_.size(); ++i) entries_[i] = {kMainWindowHandlers[i], routines[i]};
  base_ = runtime::CodeBase{entries_.data(), static_cast<std::uint32_t>(entries_.size())};
}

MainWindowCodeBase MainWindowCodeBase::quiet_except(
    std::initializer_list<std::pair<std::int32_t, runtime::Routine>> handlers) {
  std::array<runtime::Routine, kMainWindowHandlers.size()> routines;
  routines.fill(as_routine(&quiet_handler));
  for (const auto& [offset, routine] : handlers) {
    for (std::size_t i = 0; i < routines.size(); ++i)
      if (kMainWindowHandlers[i] == offset) routines[i] = routine;
  }
  return MainWindowCodeBase(routines);
}

runtime::Routine MainWindowCodeBase::routine_at(std::int32_t offset) const {
  for (const runtime::CodeEntry& e : entries_) {
    if (e.offset == offset) return e.routine;
  }
  return nullptr;
}

const runtime::CodeBase& main_window_code_base() {
  return distinct_code_base().base();
}

runtime::Routine routine_at(std::int32_t offset) {
  return distinct_code_base().routine_at(offset);
}

}  // namespace ui_test
