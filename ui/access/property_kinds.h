// Conversion of property values by property kind, between the 8-byte runtime value that
// application code reads and writes and the value pair that unit getters and setters exchange.
// Contract:
// - value_from_pair makes a new runtime value for a read (texts and byte sets are new blocks the
//   caller owns, their pointer in the 8 bytes; 32-bit kinds in the low word). Fonts are handled
//   through font_record.h, not here.
// - pair_from_value makes the pair for a write; whatever the pair points at that is not the
//   caller's own value (copies, the "" of an empty text) lives in the WriteBuffer, which must
//   outlive the setter call. The caller's value is never kept.
// - Cursor data (kind 1011): with 4 or more bytes, a read turns a leading system cursor id of the
//   standard table into its index 0-14, and a write turns a leading index 0-14 into that id.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "ui/units/unit_interface.h"

namespace ui {

struct WriteBuffer {
  std::vector<std::uint8_t> bytes;
};

std::uint64_t value_from_pair(std::uint16_t kind, const PropertyPair& pair);
PropertyPair pair_from_value(std::uint16_t kind, std::uint64_t value, WriteBuffer& buffer);

// The cursor selector bytes as application code sees them (read) and as they are stored (write).
std::vector<std::uint8_t> cursor_bytes_for_reading(std::span<const std::uint8_t> stored);
std::vector<std::uint8_t> cursor_bytes_for_storing(std::span<const std::uint8_t> given);

// The system cursor id of standard table entry 0-14 (0 for entry 0, "none").
std::uint32_t standard_cursor_id(std::uint32_t index);

}  // namespace ui
