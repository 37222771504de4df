// The cursors of a loaded window's units: the cursor slot of the unit under the mouse decides
// the pointer, for the loop's pre-translation and for a native window's own WM_SETCURSOR.
// Contract:
// - unit_holding answers the unit of the loaded window (index, id) whose native window is
//   `native` or one of its ancestors, stopping at a top-level window; -1 when none.
// - set_slot_cursor sets the cursor held in the slot of the unit whose own native window is
//   `cursor_window`; the window's own cursor only over its client area (HTCLIENT). True when a
//   cursor was set; an empty slot sets none.
// - apply_unit_cursor walks from `window` up through its parents to the first window unit of a
//   loaded window and runs set_slot_cursor for it. Main thread only.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/api/types.h"

namespace ui {

int unit_holding(std::size_t window_index, std::uint32_t window_id, HWND native);
bool set_slot_cursor(std::size_t window_index, std::uint32_t window_id, HWND cursor_window, UINT hit_test);
bool apply_unit_cursor(HWND window, HWND cursor_window, UINT hit_test);

}  // namespace ui
