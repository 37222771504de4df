// Building live windows from the window collection, and the lookups that property access,
// event dispatch and the unit types use.
// Contract:
// - create_window runs every step of building a window from its template (menu bar and
//   accelerators, units in reverse template order, reparenting, z-order in template order,
//   cursors, layout messages, showing, modal marking, events 0/3/4) and answers success. With
//   modal set it also runs the nested message loop until the modal window is gone.
// - load_window(window_id, ...) finds the window by id and creates it; false when the id is
//   unknown or the build failed.
// - recreate_unit rebuilds one unit from its serialized state (the setter asked for it); the
//   caller blocks events around it.
// - rebuild_menu rebuilds the window's menu bar and accelerator table from its menu records,
//   installs them and destroys the previous ones.
// - The lookups only read the collection and may be called from any thread. Unit index 0 is
//   the window's own unit; unit id 0 means it too.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/api/types.h"
#include "ui/units/unit.h"

namespace ui {

bool create_window(std::size_t window_index, bool new_instance, bool modal, HWND owner);
bool load_window(std::uint32_t window_id, bool new_instance = false, bool modal = false,
                 HWND owner = nullptr);
void recreate_unit(std::size_t window_index, std::size_t unit_index);
void rebuild_menu(std::size_t window_index);

// -1 when missing.
int window_index_of(std::uint32_t window_id);
int unit_index_of(std::size_t window_index, std::uint32_t unit_id);
int unit_index_of_native(std::size_t window_index, HWND native);
// The loaded window whose own native window or one of whose units' native windows is `native`.
int window_index_of_native(HWND native);
// The unit object in a unit's object slot (may be dead: check live_unit for a live one).
void* unit_object(std::size_t window_index, std::size_t unit_index);
// The unit object when it exists and its native window passes IsWindow; else null.
Unit* live_unit(std::size_t window_index, std::size_t unit_index);
HWND window_native(std::size_t window_index);

}  // namespace ui
