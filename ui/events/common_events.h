// The events common to every unit (-1 ... -12 but the focus events, which units raise
// themselves), raised by the window's message pre-translation for the unit whose native window
// a mouse, key, character or wheel message is for.
// Contract:
// - Arguments: mouse x, y (the position word's halves, unsigned) and modifiers (bit 0 Ctrl,
//   bit 1 Shift, bit 2 Alt); key code and modifiers, the key itself left out of them; the
//   character code; wheel steps (delta / 120, toward zero) and modifiers.
// - Key codes: the virtual key's low byte; keypad digits are the digit keys, keypad minus,
//   decimal and divide are 189, 190 and 191.
// - raise_common_event answers true when a handler returned 0 (the message is consumed). For a
//   character, a handler that returns another value replaces the message's character code.
//   Messages that raise no common event answer false and are left alone.
#pragma once

#include <cstdint>

#include "platform/api/messages.h"
#include "ui/units/unit.h"

namespace ui {

std::uint32_t common_key_code(std::uint32_t virtual_key);
// Modifier bits of a key event for `virtual_key`, the key itself left out.
std::uint32_t key_modifier_bits(std::uint32_t virtual_key);

bool raise_common_event(const Unit& target, MSG& message);

}  // namespace ui
