// The native window classes of units that paint themselves (the window and the label).
#pragma once

namespace ui {

// Registers `name` once per process with CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, DefWindowProcA,
// the arrow cursor, the null brush and no icon; true when the class exists afterwards.
bool ensure_unit_class(const char* name);

}  // namespace ui
