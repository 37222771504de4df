// The window's keyboard interface, driven by key-down messages (system key down too) in its
// message pre-translation.
// Contract: keyboard_interface answers true when it handled the key (the message is dropped):
// - nothing is handled when the focused unit's type wants the key itself (request 8 answers 1
//   for the key code with 0x2000 Ctrl, 0x4000 Shift, 0x8000 Alt);
// - Tab / Shift+Tab: the focus moves to the next / previous unit in template order that is
//   live, visible, enabled and a tab stop (wrapping round);
// - Enter: the focused unit when it is a default button (type bit 0x800, request 10 answers
//   non-zero) gets its event 0; otherwise, with the window's Enter switch, the focus moves on as
//   with Tab; otherwise the first live, enabled default button in template order gets event 0.
//   No default button: not handled;
// - Esc with the window's Esc switch: WM_CLOSE is sent to the window;
// - arrows on a unit whose type has bit 0x400 move the focus within the run of neighbouring
//   units of such types (left/up back, right/down on, wrapping round);
// - F1 is not handled: the platform has no help viewer, so it stays an ordinary key;
// - Alt + letter or digit (no Ctrl, no Shift) activates the first visible, enabled unit of a
//   type with one of the bits 0x0400-0x4000 and not 0x8000 whose text holds "&" and that
//   character.
#pragma once

#include "platform/api/messages.h"
#include "ui/events/window_context.h"

namespace ui {

bool keyboard_interface(const WindowContext& window, const MSG& message);

}  // namespace ui
