// The member call behind ComObject.Method, ReadProperty, WriteProperty and TextMethod: binds
// the member by name through the object's type information, converts the arguments by their
// declared types, calls IDispatch::Invoke, writes out-parameters back and converts the result
// to the type the result record carries.
// Contract: `result->tag` is set by the caller before the call (0: no result wanted). The
// thread's automation error code is always set at the end (0 or -1 .. -18); on failure a result
// with a tag gets its empty value (0, or a new zeroed object record / variant block).
#pragma once

#include <cstdint>

#include "runtime/abi/records.h"

namespace automation {

enum class CallMode : std::int32_t { kRead = 1, kWrite = 2, kMethod = 3 };

void member_call(CallMode mode, runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args);

// The thread's automation error code, as member_call leaves it.
void set_automation_error(std::int32_t code);

}  // namespace automation
