// Icon and cursor handles of the window system: the shared system cursors and icons, the
// current cursor, and turning drawn images into handles.
// Contract: system handles are created once per process and never destroyed by these functions;
// a shared handle that someone destroyed is re-created on the next request.
#pragma once

#include "platform/api/types.h"
#include "platform/winsys/cursor_images.h"

namespace platform::winsys::cursors {

// A new icon (or cursor, with the image's hot spot) owned by the caller; nullptr on failure.
HICON make_icon(const ArgbImage& image, bool cursor);
// True when `icon` is a live icon or cursor handle.
bool is_icon(HICON icon);

// Shared system cursor / icon for a standard id; nullptr for an unknown id.
HCURSOR system_cursor(WORD id);
HICON system_icon(WORD id);
// The standard id of a shared system cursor, 0 for any other handle.
WORD system_cursor_id(HCURSOR cursor);

// The pixels of an icon or cursor as straight (not premultiplied) ARGB32 with its hot spot;
// false for a handle that is not a live icon.
bool icon_pixels(HICON icon, ArgbImage& out);

// The cursor to show now: SetCursor's cursor, or nullptr while ShowCursor has hidden it.
HCURSOR visible_cursor();

}  // namespace platform::winsys::cursors
