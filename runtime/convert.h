// Reading argument records as numbers and as text.
// Contract:
// - to_int32: byte zero-extended, short sign-extended, integer as is, long integer its low 32
//   bits, float and double truncated toward zero (NaN gives 0, out-of-range values saturate).
//   Any other tag (array flag masked off) is the runtime error "not a numeric type"; the
//   try_ form answers nullopt instead.
// - value_as_text: the record's value as GB18030 text: numbers formatted, a text as is (null as
//   ""), logical and date-time by their own forms, a byte set or a flagged array of a numeric
//   element type as its raw bytes cut at the first zero byte; anything else "".
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "runtime/abi/records.h"

namespace runtime {

std::optional<std::int32_t> try_to_int32(const ArgRecord& record);
std::int32_t to_int32(const ArgRecord& record);

std::string value_as_text(const ArgRecord& record);

// Automation date (days since 30 December 1899, fraction = time of day) as text.
std::string date_time_text(double date);

}  // namespace runtime
