// The icon a top-level window shows outside the program, in task bars and window switchers: its
// class's icon, else the program's own icon resource DEFAULT_ICON (at 128 px, or the size nearest
// to it), as straight ARGB pixels. False when there is neither.
#pragma once

#include "platform/api/types.h"
#include "platform/display/input_sink.h"

namespace platform::winsys {

bool window_icon(HWND top, display::CursorImage& out);

}  // namespace platform::winsys
