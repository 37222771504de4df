// Event requests that units hand to the runtime (runtime callbacks 2008 and 2031).
// Contract: the layouts are fixed: simple = 5 argument words, typed = 12 typed arguments of 16
// bytes; the raiser fills the result fields.
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

}  // namespace runtime
