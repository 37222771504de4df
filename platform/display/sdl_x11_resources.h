// The X screen's resources (RESOURCE_MANAGER, as `xrdb` sets them) that the display reads.
#pragma once

#include <string>

namespace platform::display::sdl {

// The value of resource `name` (class `class_name`) on the X display SDL uses; empty when
// there is no X display, no such resource, or libX11 lacks a call.
std::string x11_resource(const char* name, const char* class_name);

}  // namespace platform::display::sdl
