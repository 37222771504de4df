// The automation types' one way into the runtime: the runtime callback.
// Contract: allocation through callback 2024 is fatal on failure (the runtime reports it), so
// allocate never answers null for a non-zero size; free accepts null and constants.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/abi/image.h"

namespace automation {

void* runtime_allocate(std::size_t bytes);
void runtime_free(void* block);
// Resizes a runtime block (callback 2026; fatal on failure like allocation).
void* runtime_resize(void* block, std::size_t bytes);
// The descriptor of a library data type (callback 1002), or null.
const runtime::UnitTypeDescriptor* runtime_unit_type(std::uint32_t type_tag);
// Releases an object record the way ComObject.Clear does (callback 2035).
void runtime_release_object(void* object_record);

}  // namespace automation
