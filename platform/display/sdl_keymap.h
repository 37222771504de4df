// SDL keys to the platform's virtual-key codes (US layout).
// Contract: answers 0 for keys that have no virtual-key code. Keypad digits give VK_NUMPAD0..9
// only while Num Lock is on, otherwise the navigation key printed on them.
#pragma once

#include <SDL.h>

#include "platform/api/types.h"

namespace platform::display::sdl {

UINT vk_from_sdl(const SDL_Keysym& key);

}  // namespace platform::display::sdl
