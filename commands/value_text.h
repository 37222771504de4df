// Turning an argument of any basic kind into text, as ToText and MessageBox show values.
// Contract:
// - number_text renders numbers, logicals and date-times: byte "%u", short and integer "%d",
//   long integer the 64-bit value, float "%.6g" after rounding to a single float's decimal
//   precision, double "%.13g", logical "真"/"假", date-time as date_time_text. Any other kind
//   answers nullopt.
// - date_time_text renders an automation date (days from 30 December 1899, clamped to years
//   100-9999) as "%d年%d月%d日" and the time part down to its last non-zero unit.
// - value_text adds texts (copied), byte sets (their bytes up to the first zero) and
//   one-dimensional arrays of a number kind (their raw element bytes, cut the same way); any
//   other kind is the empty text.
#pragma once

#include <optional>
#include <string>

#include "commands/core_commands.h"
#include "runtime/abi/records.h"

namespace commands {

std::string date_time_text(double date);
std::optional<std::string> number_text(const runtime::ArgRecord& value);
std::string value_text(const runtime::ArgRecord& value);

}  // namespace commands
