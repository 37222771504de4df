// How the display backends (through the input sink) and the headless tests reach a top-level
// window's pixels.
// Every window is drawn into its top-level window's backing surface (ARGB32, window
// coordinates, non-client area included); child windows have no surface of their own.
#pragma once

#include <cairo.h>

#include <functional>

#include "platform/api/types.h"

namespace platform::winsys {

// Runs `use` with the backing surface of `top` while the surface cannot be replaced or freed.
// Returns false (and does not call `use`) when `top` is not a live top-level window.
bool with_surface(HWND top, const std::function<void(cairo_surface_t* surface)>& use);

}  // namespace platform::winsys
