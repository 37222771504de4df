// Reads what an X server shows of a window region, for tests of the finder on a real display;
// apart from the tests because Xlib's macros clash with GoogleTest.
#pragma once

#include <string>

namespace app_test {

// How many pixels of the w x h region at (x, y) of X window `id` (xdotool's decimal id) on
// `display` are darker than mid-grey; -1 when the region cannot be read.
int x_dark_pixels(const std::string& display, const std::string& id, int x, int y, int w, int h);

}  // namespace app_test
