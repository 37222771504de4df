// The message pre-translation of the program's loop: before a message is dispatched, the
// window it is for (or the loaded window that contains it) gets to handle it; a handled
// message is dropped.
// Contract:
// - pre_translate walks from the message's native window up through its parents (stopping at
//   the top-level window) and, for the first native window that is a loaded window's own unit,
//   runs that window's pre-translation; answers true when the message is handled. Messages
//   without a window, and windows that are no units of a loaded window, are never handled.
// - A window's pre-translation, in order: keyboard messages for a disabled native window are
//   let through; the window's accelerator table; messages for another loaded window are let
//   through; the mouse-cursor request (WM_SETCURSOR) sets the unit's resolved cursor (unit_cursor.h) when its
//   cursor slot holds one; key-down messages drive the keyboard interface
//   (keyboard_interface.h); mouse, key, character and wheel messages raise the common events
//   (common_events.h), and with the window's drag switch a left press on the client area or on
//   a unit of a type with bit 0x4000000 drags the window by its caption; finally a message is
//   handled when the window has been destroyed meanwhile.
#pragma once

#include "platform/api/messages.h"
#include "platform/api/types.h"

namespace ui {

bool pre_translate(MSG* message);

}  // namespace ui
