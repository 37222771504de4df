// Finding loaded windows and their units in the window collection, for every layer above it.
// Contract:
// - The lookups only read the collection's slots, which are atomic, so any thread may call them.
// - Indexes answer -1 when missing. Unit index 0 is the window's own unit; unit id 0 means it too.
// - live_unit answers the unit object only when it exists and its native window passes IsWindow.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/api/types.h"

namespace ui {

class Unit;

int window_index_of(std::uint32_t window_id);
int unit_index_of(std::size_t window_index, std::uint32_t unit_id);
int unit_index_of_native(std::size_t window_index, HWND native);
// The loaded window whose own native window or one of whose units' native windows is `native`.
int window_index_of_native(HWND native);
// The unit object in a unit's object slot (may be dead: check live_unit for a live one).
void* unit_object(std::size_t window_index, std::size_t unit_index);
Unit* live_unit(std::size_t window_index, std::size_t unit_index);
HWND window_native(std::size_t window_index);

}  // namespace ui
