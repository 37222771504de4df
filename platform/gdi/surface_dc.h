// Device contexts on a window's backing surface; the window system's way into drawing.
#pragma once

#include <cairo.h>

#include "platform/api/types.h"

namespace platform::gdi {

// A device context that draws on `surface` (which it references until released), with the
// logical origin at `origin` (surface pixels) and all drawing confined to `clip` (a region in
// surface coordinates, copied; nullptr means the whole surface). `owner` is reported by
// WindowFromDC. Released with DeleteDC.
HDC create_surface_dc(cairo_surface_t* surface, POINT origin, HRGN clip, HWND owner);

}  // namespace platform::gdi
