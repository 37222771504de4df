// The core support library's record, library 1 of the finder's program image, put together
// from the three parts that carry it: the basic units' type table and identity (ui/core), the
// object and variant types with their commands (automation) and the core commands (commands).
// Contract:
// - core_library_record() is the complete record: the 51-slot type table with slots 48 (object)
//   and 49 (variant) filled from the automation types, the 18 commands in table order (rows
//   4-12 the automation commands) and the notify routine.
// - core_library_notify: code 1 hands the runtime callback (argument 1) to the commands and the
//   automation types and answers 0; every other code answers -1.
#pragma once

#include <cstdint>
#include <span>

#include "runtime/abi/image.h"

namespace app {

inline constexpr std::uint32_t kCoreCommandCount = 18;

std::span<const runtime::CommandRoutine> core_commands();
std::span<const runtime::UnitTypeDescriptor> core_types();
std::intptr_t core_library_notify(std::int32_t code, std::intptr_t arg1, std::intptr_t arg2);
const runtime::LibraryRecord& core_library_record();

}  // namespace app
