// The colours of the three styles (COLORREF, 0x00BBGGRR).
// Contract: style numbers outside 1-3 read as style 1, so a painter never indexes out of range.
#pragma once

#include <cstdint>

#include "platform/api/types.h"

namespace libs::visualstyle {

// Four corner colours of a gradient fill.
struct Quad {
  COLORREF top_left, top_right, bottom_left, bottom_right;
};

// Push button quads by index: 0 pressed, 1 mouse over, 2 checked or indeterminate, 3 focused or
// default, 4 normal, 5 inner when pressed or checked, 6 inner otherwise.
enum QuadIndex : int {
  kQuadPressed = 0,
  kQuadOver = 1,
  kQuadChecked = 2,
  kQuadFocused = 3,
  kQuadNormal = 4,
  kQuadInnerPressed = 5,
  kQuadInner = 6,
};

const Quad& button_quad(int style, QuadIndex index);
COLORREF button_frame_colour(int style);
COLORREF edit_frame_colour(int style);
// The mark of check boxes, radio buttons and the arrows of our own painters.
COLORREF mark_colour(int style);

inline constexpr COLORREF kGroupFrameColour = 0xBFB8BF;
inline constexpr COLORREF kDisabledFill = 0xEAF4F5;
inline constexpr COLORREF kGreyText = 0x94A2A5;
inline constexpr COLORREF kBlack = 0x000000;
inline constexpr COLORREF kWhite = 0xFFFFFF;

// Per-channel difference, never below 0: "button face minus 0x202020".
COLORREF darker(COLORREF colour, COLORREF by);
COLORREF button_face();
COLORREF window_colour();

}  // namespace libs::visualstyle
