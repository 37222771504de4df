// Which window a mouse event at a screen point belongs to.
// Contract: with a capture window on the display thread, that window (client area) whatever the
// point; otherwise the deepest visible window under the point whose WM_NCHITTEST answer is not
// HTTRANSPARENT. A disabled child hands the point to its parent; a disabled top-level window
// answers HTERROR. No window under the point: hwnd nullptr, hit HTNOWHERE.
#pragma once

#include "platform/api/types.h"

namespace platform::winsys::input {

struct Target {
  HWND hwnd = nullptr;
  LRESULT hit = 0;      // HT* code
  bool client = false;  // the message goes to the client area (HTCLIENT, or captured)
  bool captured = false;
};

Target find_target(POINT screen);

}  // namespace platform::winsys::input
