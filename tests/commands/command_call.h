// Calling a command routine as compiled code does: argument records built from C++ values, a
// zeroed result record, and the result's text or text array read back and freed.
#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "runtime/abi/records.h"
#include "runtime/heap.h"
#include "runtime/values.h"

namespace commands_test {

inline runtime::ArgRecord omitted() {
  return {};
}
inline runtime::ArgRecord text(const char* value) {
  runtime::ArgRecord r{};
  r.set_pointer(value);
  r.tag = runtime::tag::kText;
  return r;
}
inline runtime::ArgRecord integer(std::int32_t value) {
  runtime::ArgRecord r{};
  r.set_value(static_cast<std::uint32_t>(value));
  r.tag = runtime::tag::kInt;
  return r;
}
inline runtime::ArgRecord logical(bool value) {
  runtime::ArgRecord r{};
  r.set_value(value ? 1 : 0);
  r.tag = runtime::tag::kBool;
  return r;
}
inline runtime::ArgRecord of_double(std::uint32_t tag, double value) {
  runtime::ArgRecord r{};
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  r.set_value(bits);
  r.tag = tag;
  return r;
}
inline runtime::ArgRecord of_pointer(std::uint32_t tag, const void* value) {
  runtime::ArgRecord r{};
  r.set_pointer(value);
  r.tag = tag;
  return r;
}

inline runtime::ArgRecord call(runtime::CommandRoutine routine, std::vector<runtime::ArgRecord> args) {
  runtime::ArgRecord result{};
  routine(&result, static_cast<std::int32_t>(args.size()), args.empty() ? nullptr : args.data());
  return result;
}

inline std::int32_t call_integer(runtime::CommandRoutine routine, std::vector<runtime::ArgRecord> args) {
  return static_cast<std::int32_t>(call(routine, std::move(args)).lo);
}

// The text result, freed; "<null>" tells a null text apart where that matters.
inline std::string call_text(runtime::CommandRoutine routine, std::vector<runtime::ArgRecord> args) {
  auto* text = call(routine, std::move(args)).pointer<char>();
  std::string out = text != nullptr ? std::string(text) : std::string();
  runtime::release(text);
  return out;
}

// The elements of a one-dimensional text array result, freed.
inline std::vector<std::string> call_texts(runtime::CommandRoutine routine,
                                           std::vector<runtime::ArgRecord> args) {
  void* array = call(routine, std::move(args)).pointer<void>();
  std::vector<std::string> out;
  if (array == nullptr) return {"<no array>"};
  if (runtime::array_dimension_count(array) != 1) return {"<not one dimension>"};
  auto* const* elements = static_cast<char* const*>(runtime::array_elements(array));
  for (std::uint64_t i = 0; i < runtime::array_element_count(array); ++i) {
    out.emplace_back(elements[i] != nullptr ? elements[i] : "");
  }
  runtime::free_array(runtime::tag::kText, array);
  return out;
}

}  // namespace commands_test
