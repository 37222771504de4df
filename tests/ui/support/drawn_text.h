// Finding a line of text in what a window painted: the line is drawn alone in a given font and
// colours, and its inked pixels are looked for, whole, inside an area of the window's client.
#pragma once

#include <optional>
#include <string_view>

#include "platform/api/types.h"

namespace ui_test {

struct TextLook {
  HFONT font;
  COLORREF text;
  COLORREF background;
};

// The client position of the top-left corner of the line's ink where every inked pixel of the
// line drawn alone appears in `area` of `hwnd` with its colour; nothing when it appears nowhere
// (not drawn, drawn elsewhere, or cut by the area's edge). `ansi` is one line in GB18030.
std::optional<POINT> find_text_line(HWND hwnd, const RECT& area, std::string_view ansi, const TextLook& look);

}  // namespace ui_test
