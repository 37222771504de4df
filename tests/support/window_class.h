// Window classes the tests build their windows from.
#pragma once

#include "platform/api.h"

namespace test_support {

struct ClassLook {
  UINT style = 0;
  bool arrow_cursor = false;
  HBRUSH background = nullptr;
};

// Registers the class the first time its name is asked for (later calls keep the first
// registration) and answers the name, ready for CreateWindowExA; null if it cannot register.
const char* test_window_class(const char* name, WNDPROC proc, const ClassLook& look = {});

// WM_ERASEBKGND of a test parent that stands in for a dialog: the client area in a system
// colour, reported as erased.
LRESULT erase_with_system_colour(HWND hwnd, WPARAM dc, int colour);

}  // namespace test_support
