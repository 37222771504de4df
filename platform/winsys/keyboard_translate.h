// The character a key makes on a US keyboard layout, as TranslateMessage computes it.
// Contract: answers -1 when the key makes no character in that state (function keys, arrows,
// Ctrl+Alt combinations, ...). Letters follow Shift xor Caps Lock; Ctrl+letter gives 1..26.
#pragma once

#include "platform/api/types.h"

namespace platform::winsys::keyboard {

struct Modifiers {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  bool caps_lock = false;
};

int character_for_key(UINT vk, Modifiers mods);
// The same, with the modifiers taken from the current keyboard state.
int character_for_key(UINT vk);

}  // namespace platform::winsys::keyboard
