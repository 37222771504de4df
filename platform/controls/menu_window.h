// The pop-up menu window (class "#32768"): a WS_POPUP top-level window that shows one menu level
// and never takes activation. The tracking loop creates, updates and destroys it.
#pragma once

#include "platform/controls/menu_look.h"

namespace platform::controls::menu {

// Shows `menu` at `screen` (the window's top-left corner), topmost, without activating it.
HWND create_popup_window(HWND owner, POINT screen, HMENU handle, const Menu& menu, const PopupLayout& layout);
// Moves the highlight and repaints at once.
void set_popup_selection(HWND popup, int selected);

void register_popup_class();

}  // namespace platform::controls::menu
