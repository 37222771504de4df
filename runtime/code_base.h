// Resolving event-handler offsets against the image's code base.
// Contract: offset -1 is "no handler" (answers a null routine, success); any other offset must
// name an entry of the table, else the lookup fails (the template loader reports that as a load
// error). A null code base has no entries.
#pragma once

#include <cstdint>
#include <optional>

#include "runtime/abi/image.h"

namespace runtime {

inline constexpr std::int32_t kNoHandler = -1;

// nullopt: the offset names no routine. A value (possibly null for -1): the resolved handler.
std::optional<Routine> resolve_handler(const CodeBase* base, std::int32_t offset);

}  // namespace runtime
