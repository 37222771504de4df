// Pictures of the system cursors and icons, and of the program's own cursors, drawn with cairo.
// Contract: each function returns a square image (32x32 unless a size is given) of premultiplied
// ARGB32 pixels, rows top-down, with the cursor's hot spot. An id it does not know gives an empty
// image (width 0).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/api/types.h"

namespace platform::winsys::cursors {

struct ArgbImage {
  int width = 0;
  int height = 0;
  POINT hotspot{};
  std::vector<std::uint32_t> pixels;  // premultiplied ARGB32, width * height
};

// System cursor ids (32512 arrow ... 32651 help).
ArgbImage draw_system_cursor(WORD id);
// System icon ids (32512 application ... 32517).
ArgbImage draw_system_icon(WORD id, int size = 32);
// The program's cursor resources: a hand with a pointing finger, and an arrow dragging a box.
ArgbImage draw_hand_cursor();
ArgbImage draw_drag_cursor();

}  // namespace platform::winsys::cursors
