// Calling the automation commands as compiled code does: argument records built in order, the
// call through the runtime's call service, values in the runtime's own layouts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "automation/automation_commands.h"
#include "automation/object_record.h"
#include "platform/com/typeinfo.h"
#include "runtime/abi/records.h"
#include "tests/support/code_page_text.h"

namespace lyr::test {

// Argument records.
runtime::ArgRecord text_arg(const char* text);
runtime::ArgRecord int_arg(std::int32_t v);
runtime::ArgRecord long_arg(std::int64_t v);
runtime::ArgRecord bool_arg(bool v);
runtime::ArgRecord double_arg(double v);
runtime::ArgRecord omitted_arg();
runtime::ArgRecord object_arg(automation::ObjectRecord* object);
runtime::ArgRecord variant_arg(VARIANT* block);
runtime::ArgRecord byte_set_arg(const void* byte_set);
// The same record passed by address: the value is the address of `variable`, which holds the
// value; bit 0x20000000 is set on the tag.
runtime::ArgRecord by_address(std::uint32_t tag, void* variable);

runtime::ArgRecord call(runtime::CommandRoutine routine, std::vector<runtime::ArgRecord> args);

// GB18030 text from UTF-8 and back.
using test_support::ansi;
using test_support::utf8;

// A byte set built on the runtime heap (null for empty), and its bytes.
void* byte_set(std::string_view bytes);
std::string byte_set_bytes(const void* byte_set);

// An object variable: a zeroed record, cleared at the end of the scope.
struct ObjectVar {
  automation::ObjectRecord record{};
  ObjectVar() = default;
  ObjectVar(const ObjectVar&) = delete;
  ObjectVar& operator=(const ObjectVar&) = delete;
  ~ObjectVar();
  bool create(const char* progid);
  runtime::ArgRecord arg() { return object_arg(&record); }
};

// A variant variable: a 16-byte block, cleared at the end of the scope.
struct VariantVar {
  VARIANT block{};
  VariantVar() = default;
  VariantVar(const VariantVar&) = delete;
  VariantVar& operator=(const VariantVar&) = delete;
  ~VariantVar();
  runtime::ArgRecord arg() { return variant_arg(&block); }
};

// The calling thread's apartment for the length of a scope.
struct Apartment {
  Apartment();
  ~Apartment();
};

// Frees a value handed back in a result record.
void free_value(const runtime::ArgRecord& result);

}  // namespace lyr::test
