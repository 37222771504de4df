#include "runtime/state.h"

namespace runtime {
namespace {

// The callback and the service table carry no context, so the state is found through this
// one process-wide pointer.
std::atomic<RuntimeState*>& installed() {
  static std::atomic<RuntimeState*> pointer{nullptr};
  return pointer;
}

}  // namespace

RuntimeState* current_state() {
  return installed().load();
}

StateInstallation::StateInstallation(RuntimeState& state) : previous_(installed().exchange(&state)) {}

StateInstallation::~StateInstallation() {
  installed().store(previous_);
}

}  // namespace runtime
