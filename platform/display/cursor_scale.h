// Cursor pictures at the desktop's scale, so a drawn cursor keeps its size beside the windows.
#pragma once

#include "platform/display/input_sink.h"

namespace platform::display {

// `image` enlarged `q` / 4 times with a smoothing filter, its hot spot moved along; the image
// itself at 1x or when it is empty.
CursorImage scaled_cursor(const CursorImage& image, int q);

}  // namespace platform::display
