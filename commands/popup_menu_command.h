// Window.PopupMenu(window unit, menu unit, [x], [y]): shows the sub-items of one menu record of a
// loaded window as a pop-up menu at the mouse cursor + 3 pixels (a given x or y replaces that
// coordinate) and waits until it closes; a chosen item reaches the window as its menu command,
// which raises the item's selection event.
// Contract: a window that is not loaded is the runtime error "指定窗口或窗口组件不存在或尚未载入";
// a menu unit of another window, a unit that is not a menu record, or a record without
// sub-items shows nothing. Items are owner-drawn (item data = command id) when the window
// unit's state flags ask for it (bit 3).
#pragma once

#include <cstdint>

#include "commands/core_commands.h"
#include "platform/api/types.h"
#include "runtime/abi/records.h"

namespace commands {

// The screen point a pop-up menu opens at, from the cursor and the optional coordinates.
POINT popup_position(POINT cursor, const runtime::ArgRecord* args, std::int32_t count);

}  // namespace commands
