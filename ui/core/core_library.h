// The core support library's record: library 1 of every program image, whose data-type table
// holds the basic unit types (window, menu, edit box, picture box, group box, label, button).
// Contract: the table has 51 slots indexed by type number - 1; slots of types not built here
// are all zero. The program image adds the commands and the object data types to the record.
#pragma once

#include <cstdint>
#include <span>

#include "runtime/abi/image.h"

namespace ui {

inline constexpr std::uint32_t kCoreTypeSlots = 51;

// The type table (51 descriptors).
std::span<const runtime::UnitTypeDescriptor> core_unit_types();
// A library record with the core type table and no commands.
const runtime::LibraryRecord& core_library_record();

}  // namespace ui
