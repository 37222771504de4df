// Cursor selectors (the common mouse-pointer property, stored as bytes) and the cursor slots of
// a window's units.
// Contract:
// - resolve_cursor_selector never fails loudly: an empty or unknown selector gives no cursor
//   (the default); malformed cursor file data gives no cursor. `owned` is set when the cursor
//   was made from file data and must be destroyed by whoever holds it; system and program
//   cursors are shared and never destroyed.
// - set_unit_cursor resolves a selector into a unit's cursor slot, destroying the owned cursor
//   it replaces; release_unit_cursor empties the slot the same way. Both ignore indexes out of
//   range. Main thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/api/types.h"

namespace ui {

struct ResolvedCursor {
  HCURSOR cursor = nullptr;
  bool owned = false;
};

// The program's own hand cursor resource.
inline constexpr WORD kHandCursorResource = 1032;

ResolvedCursor resolve_cursor_selector(std::span<const std::uint8_t> selector);

void set_unit_cursor(std::size_t window_index, std::size_t unit_index,
                     std::span<const std::uint8_t> selector);
void release_unit_cursor(std::size_t window_index, std::size_t unit_index);

}  // namespace ui
