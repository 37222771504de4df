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

}  // namespace test_support
