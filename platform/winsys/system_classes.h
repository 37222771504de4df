// The platform's own window classes ("BUTTON", "EDIT", ...) live in platform/controls, above the
// window system. Each control file adds its registration function at static initialisation;
// the window system runs every added function once, before the first window class lookup, so
// the classes exist for every thread without anyone calling an initialisation routine.
#pragma once

namespace platform::winsys {

// Safe to call during static initialisation. Returns true so it can initialise a constant.
bool add_system_classes(void (*register_classes)());

}  // namespace platform::winsys
