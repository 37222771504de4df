// Writing a window's object and native-window slots as its units come and go (main thread).
// Readers on other threads see each slot either before or after a write, never torn.
#pragma once

#include <cstddef>

#include "ui/units/unit.h"

namespace ui {

// Stores a unit object and its native window in the unit's slots (null clears them); the
// window's own unit (index 0) also sets the window's native slot.
void store_unit_object(std::size_t window_index, std::size_t unit_index, Unit* unit);
// Empties every slot of the window after its native window is gone.
void reset_window_slots(std::size_t window_index);

}  // namespace ui
