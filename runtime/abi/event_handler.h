// The signature of the application's event handlers.
// Contract: an event handler is a routine of the code base (cast from runtime::Routine). It gets
// the event's arguments in order, widened to 64 bits, and answers whether it returned a value
// and the value (up to 64 bits).
#pragma once

#include <cstdint>

namespace runtime {

struct HandlerResult {
  bool returned = false;
  std::uint64_t value = 0;
};

// An application event handler: args[0] is argument 1; count is how many there are.
using EventHandler = HandlerResult (*)(const std::uint64_t* args, std::int32_t count);

inline HandlerResult returns(std::uint64_t value) {
  return {true, value};
}
inline HandlerResult returns_nothing() {
  return {};
}

}  // namespace runtime
