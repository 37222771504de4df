// Device scale: how a window's logical (96-dpi) pixels map onto the device pixels of its
// backing surface. A scale is held in quarters (4 is 1x, 6 is 1.5x, 8 is 2x), and a surface
// carries its own as cairo's device scale, so cairo paths and pango text scale by themselves.
// Code that touches pixels maps logical edges with to_device(): an edge at logical l lands at
// device floor(l * S + 1/4), which is where cairo's unantialiased fills put it, so shapes that
// meet at a logical edge meet at one device edge too (no seam, no overlap at 1.25x or 1.5x).
#pragma once

#include <cairo.h>

#include "platform/api/types.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/scale_math.h"

namespace platform::gdi {

RECT to_device(const RECT& r, int q);
// Where a device point of a window (pixels from the window's top-left on the screen) is, in
// logical screen coordinates; what a scaled display reports as the mouse position.
inline POINT device_to_screen(const RECT& window, POINT device, int q) {
  return POINT{static_cast<LONG>(window.left + to_logical(device.x, q)),
               static_cast<LONG>(window.top + to_logical(device.y, q))};
}
// A logical size of `device` pixels (what a scaled display's device size means to programs).
inline LONG to_logical_size(long long device, int q) {
  return static_cast<LONG>(device * kUnitScale / q);
}
// A region with every rectangle's edges mapped to device pixels.
RegionPtr region_to_device(const cairo_region_t* r, int q);

// The scale a surface carries (kUnitScale for none).
int surface_scale(cairo_surface_t* s);
// An ARGB32 backing surface for a logical width x height at `q` quarters; it holds its scale.
cairo_surface_t* create_scaled_surface(int width, int height, int q);
// Rounds a scale factor to quarters, within 1x to 4x.
int scale_quarters(double factor);

}  // namespace platform::gdi
