// Reads back what the X server shows, and acts on windows as another X client; kept apart
// because Xlib's macros clash with GoogleTest.
#pragma once

#include <string>

namespace test_support {

// The pixel at (x, y) of X window `id` (xdotool's decimal id) as 0xRRGGBB; ~0 when unreadable.
unsigned long x_pixel(const std::string& id, int x, int y);

// Destroys X window `id` from a connection of its own, as another client would.
void x_destroy_window(const std::string& id);

}  // namespace test_support
