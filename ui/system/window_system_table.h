// The window system's operations as the runtime sees them (runtime/window_system.h): template
// loading, window building, property access, event dispatch and message pre-translation.
#pragma once

#include "runtime/window_system.h"

namespace ui {

const runtime::WindowSystem& window_system_operations();
// Installs window_system_operations() into the runtime.
void install_window_system();

}  // namespace ui
