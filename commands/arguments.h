// The argument records of one command call, read by number (from 1).
// Contract: an argument past the count, or with type tag 0, is absent and reads as the given
// fallback; an absent or null text reads as "". Integers go through the runtime's numeric
// conversion; a logical is true when its value is not 0.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "commands/runtime_link.h"
#include "runtime/abi/records.h"

namespace commands {

class Arguments {
 public:
  Arguments(std::int32_t count, const runtime::ArgRecord* args)
      : count_(args != nullptr ? std::max(count, 0) : 0), args_(args) {}

  bool given(std::int32_t n) const {
    return n >= 1 && n <= count_ && args_[n - 1].tag != runtime::tag::kNone;
  }
  const runtime::ArgRecord& record(std::int32_t n) const { return args_[n - 1]; }
  std::uint32_t tag(std::int32_t n) const { return given(n) ? runtime::base_tag(args_[n - 1].tag) : 0; }

  std::int32_t integer(std::int32_t n, std::int32_t fallback) const {
    return given(n) ? to_integer(args_[n - 1]) : fallback;
  }
  bool logical(std::int32_t n, bool fallback) const { return given(n) ? args_[n - 1].lo != 0 : fallback; }
  // The text of a text argument; any other kind reads as "".
  std::string_view text(std::int32_t n, std::string_view fallback = {}) const {
    if (!given(n)) return fallback;
    if (tag(n) != runtime::tag::kText) return {};
    const char* p = args_[n - 1].pointer<const char>();
    return p != nullptr ? std::string_view(p) : std::string_view();
  }

 private:
  std::int32_t count_;
  const runtime::ArgRecord* args_;
};

inline void set_integer_result(runtime::ArgRecord* result, std::int32_t value) {
  if (result == nullptr) return;
  result->set_value(static_cast<std::uint32_t>(value));
  result->tag = runtime::tag::kInt;
}

inline void set_logical_result(runtime::ArgRecord* result, bool value) {
  if (result == nullptr) return;
  result->set_value(value ? 1 : 0);
  result->tag = runtime::tag::kBool;
}

inline void set_pointer_result(runtime::ArgRecord* result, const void* value, std::uint32_t tag) {
  if (result == nullptr) return;
  result->set_pointer(value);
  result->tag = tag;
}

}  // namespace commands
