// Modal windows: while a window of the program is shown modally, the program's other top-level
// windows are disabled; each one's previous enabled state is kept with the modal window and
// restored when it closes.
// Contract:
// - begin_modal(window_index) disables every other loaded window that has a live native window
//   and remembers (handle, was enabled) for each. A second begin_modal for the same window first
//   ends the previous one.
// - end_modal(window_index) re-enables the windows this modal window disabled, to their previous
//   state, skipping those that are gone; calling it again (or for a window that never was modal)
//   does nothing. The window unit calls it when the window closes.
// - is_modal(window_index): begin_modal ran and end_modal has not.
// Main thread only.
#pragma once

#include <cstddef>

namespace ui {

void begin_modal(std::size_t window_index);
void end_modal(std::size_t window_index);
bool is_modal(std::size_t window_index);

}  // namespace ui
