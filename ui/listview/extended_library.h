// The extended interface library: library 2 of the program image. Its data-type table has five
// slots with the list view as type 4 (the first three and the fifth are empty), its command
// table the four list view commands in order, and its notify routine keeps the runtime
// callback that the commands call into the runtime with.
#pragma once

#include <cstdint>
#include <span>

#include "runtime/abi/image.h"
#include "runtime/abi/runtime_link.h"

namespace ui::listview {

inline constexpr std::uint32_t kExtendedTypeSlots = 5;
inline constexpr std::uint32_t kExtendedCommandCount = 4;

std::span<const runtime::UnitTypeDescriptor> extended_unit_types();
std::span<const runtime::CommandRoutine> extended_commands();
const runtime::LibraryRecord& extended_library_record();

// Notify code 1 stores the runtime callback and answers 0; every other code answers -1.
std::intptr_t extended_library_notify(std::int32_t code, std::intptr_t arg1, std::intptr_t arg2);
// The link that notify code 1 attaches the runtime callback to; the list view commands call
// the runtime through it.
const runtime::RuntimeLink& extended_library_link();

}  // namespace ui::listview
