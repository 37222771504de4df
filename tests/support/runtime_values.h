// Property and command values as tests hand them in and take them back: texts and byte sets
// travel as pointers in a 64-bit value, and what is read back belongs to the reader.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "runtime/abi/records.h"
#include "runtime/heap.h"
#include "runtime/values.h"

namespace test_support {

inline std::uint64_t text_value(const char* text) {
  return reinterpret_cast<std::uintptr_t>(text);
}

// Takes a text value read back, freeing it.
inline std::string take_text(std::uint64_t value) {
  auto* text = reinterpret_cast<char*>(static_cast<std::uintptr_t>(value));
  std::string s = runtime::text_or_empty(text);
  runtime::release(text);
  return s;
}

// Takes the text a command answered, which must carry the text tag.
inline std::string take_text(const runtime::ArgRecord& r) {
  EXPECT_EQ(r.tag, runtime::tag::kText);
  return take_text(r.value());
}

// Takes a byte set read back, freeing it.
inline std::vector<std::uint8_t> take_bytes(std::uint64_t value) {
  void* set = reinterpret_cast<void*>(static_cast<std::uintptr_t>(value));
  std::span<const std::uint8_t> bytes = runtime::byte_set_bytes(set);
  std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());
  runtime::release(set);
  return copy;
}

}  // namespace test_support
