// Building live windows from the window collection.
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
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/api/types.h"
#include "ui/state/window_lookups.h"
#include "ui/units/unit.h"

namespace ui {

bool create_window(std::size_t window_index, bool new_instance, bool modal, HWND owner);
bool load_window(std::uint32_t window_id, bool new_instance = false, bool modal = false,
                 HWND owner = nullptr);
void recreate_unit(std::size_t window_index, std::size_t unit_index);
void rebuild_menu(std::size_t window_index);

}  // namespace ui
