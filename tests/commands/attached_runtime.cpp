// The commands reach the runtime only through the callback that start-up hands the core library.
// These tests call them without a start-up, so every test process (death-test children too)
// begins with the runtime's own callback attached.
#include "commands/core_commands.h"
#include "runtime/callback.h"

namespace {

[[maybe_unused]] const bool attached = [] {
  commands::attach_runtime(&runtime::runtime_callback);
  return true;
}();

}  // namespace
