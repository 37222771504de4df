// The screen that GetDeviceCaps and EnumDisplaySettingsA report: its logical (96-dpi) size and
// the desktop's scale in quarters (platform/gdi/device_scale.h). The display layer sets them
// once it knows the real screen; until then 1280 x 800 at 1x. Thread-safe.
#pragma once

#include "platform/api/types.h"

namespace platform::gdi {

// Sizes below 1 are ignored.
void set_screen_size(int width, int height);
SIZE screen_size();
// Scales outside 1x to 4x are ignored. New top-level surfaces take this scale.
void set_screen_scale(int quarters);
int screen_scale();

}  // namespace platform::gdi
