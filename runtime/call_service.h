// The call service (service table slots 2 and 3): runs a command routine with its argument
// records and hands back its result record.
// Contract: the result record is zeroed before the routine runs; the routine gets (result,
// count, first record) and the three result words come back unchanged, including a type tag
// the routine left 0. The records stay the caller's. A null routine leaves the zero result.
// A negative count is passed as 0.
#pragma once

#include <cstdint>

#include "runtime/abi/records.h"

namespace runtime {

ArgRecord call_command(std::int32_t library, CommandRoutine routine, std::int32_t count, ArgRecord* args);
ArgRecord call_core_command(CommandRoutine routine, std::int32_t count, ArgRecord* args);

}  // namespace runtime
