// How the core commands reach the runtime: only through the runtime callback that the core
// library's notify routine attached at start-up (attach_runtime, core_commands.h).
// Contract:
// - allocate() takes a block from the runtime heap; failure is the runtime's fatal allocation
//   error, so it never answers null. Blocks belong to the caller, who frees them with release().
// - make_text() copies bytes into a fresh text value (NUL added); the empty text is null.
// - to_integer() converts a numeric argument record (runtime callback 2001); a record that is
//   not numeric is the runtime's conversion error.
// - fail() reports a runtime error with the given message and does not return.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "runtime/abi/records.h"

namespace commands {

std::intptr_t call_runtime(std::int32_t code, std::intptr_t arg1, std::intptr_t arg2);

void* allocate(std::size_t bytes);
void release(void* block);
char* make_text(std::string_view bytes);
std::int32_t to_integer(const runtime::ArgRecord& record);
[[noreturn]] void fail(const char* message);

}  // namespace commands
