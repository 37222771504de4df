// Re-creating a unit (recreate_unit of window_builder.h) and what it tells the rest of window
// building while it runs.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ui {

// The unit is being re-created: its old object going away is not the unit going.
bool recreation_in_progress(std::size_t window_index, std::uint32_t unit_id);

}  // namespace ui
