// Line metrics of the program's named faces, for the installed face that stands in for them.
//
// Contract: `stand_in_cell` takes a face name in UTF-8 as a LOGFONT names it and answers the
// face's ascent and descent per pixel of em when it is one of the classic CJK faces whose
// cells are exactly one em tall ("宋体" at 9 points is 12 pixels from line to line, with no
// internal leading); any other name answers nothing. Captions are laid out for those faces'
// pitch, so the face drawn in their place keeps it and the lines still fit their controls.
#pragma once

#include <optional>
#include <string_view>

namespace platform::gdi {

struct CellShape {
  double ascent = 0;   // per pixel of em
  double descent = 0;  // per pixel of em
};

std::optional<CellShape> stand_in_cell(std::string_view utf8_face);

}  // namespace platform::gdi
