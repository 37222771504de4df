// Fast access to a region's rectangles for the window system (update and clip regions).
#pragma once

#include <cairo.h>

#include "platform/api/types.h"

namespace platform::gdi {

// The live cairo region behind `h` (owned by the region object; valid while the handle
// lives and only from the thread using it), or nullptr for a bad handle.
cairo_region_t* region_of(HRGN h);
// A new region handle holding a copy of `r` (nullptr on failure).
HRGN make_region(const cairo_region_t* r);

}  // namespace platform::gdi
