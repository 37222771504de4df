// Event requests that units hand to the runtime (runtime callbacks 2008 and 2031), and the
// signature of the application's event handlers.
// Contract:
// - The request layouts are fixed: simple = 5 argument words, typed = 12 typed arguments of 16
//   bytes; the raiser fills the result fields.
// - An event handler is a routine of the code base (cast from runtime::Routine). It gets the
//   request's arguments in order, widened to 64 bits, and answers whether it returned a value
//   and the value (up to 64 bits).
#pragma once

#include <cstdint>

namespace runtime {

struct SimpleEventRequest {
  std::uint32_t window_id;
  std::uint32_t unit_id;  // 0: the window itself
  std::int32_t event;
  std::uint32_t count;  // 0-5
  std::uint32_t args[5];
  std::uint32_t result_present;
  std::uint32_t result;
};
static_assert(sizeof(SimpleEventRequest) == 44);

struct TypedEventArgument {
  std::uint32_t low;
  std::uint32_t high;
  std::uint32_t tag;
  std::uint32_t flags;  // bit 0 pass the address in low; bit 1 pass both words
};
static_assert(sizeof(TypedEventArgument) == 16);

inline constexpr std::uint32_t kPassAddress = 1u << 0;
inline constexpr std::uint32_t kPassBothWords = 1u << 1;

struct TypedEventRequest {
  std::uint32_t window_id;
  std::uint32_t unit_id;
  std::int32_t event;
  std::uint32_t count;  // 0-12
  TypedEventArgument args[12];
  std::uint32_t result_present;
  std::uint32_t result_low;
  std::uint32_t result_high;
};
static_assert(sizeof(TypedEventRequest) == 16 + 12 * 16 + 12);

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
