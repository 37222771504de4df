// The per-window system menu and what it allows: a window whose system menu lost an item (or
// had it grayed) no longer carries out that system command.
#pragma once

#include "platform/api.h"

namespace platform::controls::menu {

// False when `hwnd` has its own system menu copy and `command` (SC_MOVE, SC_SIZE, ...) is
// missing from it or grayed; true otherwise.
bool system_command_allowed(HWND hwnd, UINT command);

}  // namespace platform::controls::menu
