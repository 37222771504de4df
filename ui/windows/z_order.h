// Stacking a window's controls in template order.
#pragma once

#include <cstddef>

namespace ui {

// Places a control directly below the nearest control of lower index that has the same parent
// unit, or at the top of its siblings when there is none.
void place_in_z_order(std::size_t window_index, std::size_t unit_index);

}  // namespace ui
