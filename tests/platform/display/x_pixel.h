// Reads back what the X server shows; kept apart because Xlib's macros clash with GoogleTest.
#pragma once

#include <string>

namespace test_support {

// The pixel at (x, y) of X window `id` (xdotool's decimal id) as 0xRRGGBB; ~0 when unreadable.
unsigned long x_pixel(const std::string& id, int x, int y);

}  // namespace test_support
