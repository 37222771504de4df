// The screen size that GetDeviceCaps and EnumDisplaySettingsA report. The display layer sets
// it once it knows the real screen; until then it is 1280 x 800. Thread-safe.
#pragma once

#include "platform/api/types.h"

namespace platform::gdi {

// Sizes below 1 are ignored.
void set_screen_size(int width, int height);
SIZE screen_size();

}  // namespace platform::gdi
