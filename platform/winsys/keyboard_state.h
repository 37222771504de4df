// The keyboard and mouse-button state behind GetKeyState and friends: one table for the display,
// updated as input is delivered. Thread-safe.
// Contract: vk outside 0..255 is ignored (reads as up). Setting a left/right modifier also sets
// the generic key (VK_SHIFT, VK_CONTROL, VK_MENU) to "either side down".
#pragma once

#include <array>

#include "platform/api/types.h"

namespace platform::winsys::keyboard {

// Records a press or release; a press flips the toggle bit (Caps Lock, Num Lock, ...).
void set_key(UINT vk, bool down);
bool is_down(UINT vk);
bool is_toggled(UINT vk);
std::array<BYTE, 256> snapshot();
// Forgets every pressed key and toggle (used when a backend starts and by tests).
void reset();

// The generic key of a left/right variant; other keys unchanged.
UINT generic_vk(UINT vk);
// Set-1 scan code of a virtual key (0 when it has none) and whether it is an extended key.
UINT scan_code(UINT vk);
bool is_extended(UINT vk);

}  // namespace platform::winsys::keyboard
