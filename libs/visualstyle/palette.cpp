#include "libs/visualstyle/palette.h"

#include <algorithm>
#include <array>

#include "platform/api/gdi.h"

namespace libs::visualstyle {
namespace {

using QuadSet = std::array<Quad, 7>;

constexpr std::array<QuadSet, 3> kButtonQuads = {{
    {{{0xC1CCD1, 0xC1CCD1, 0xEEF1F2, 0xEEF1F2},
      {0xCFF0FF, 0xCFF0FF, 0x0097E5, 0x0097E5},
      {0xBDCBD6, 0xC6CFD6, 0xEFF3F7, 0xEFF3F7},
      {0xFFE7CE, 0xFFE7CE, 0xEE8269, 0xEE8269},
      {0xFFFFFF, 0xFFFFFF, 0xD6DFE2, 0xD6DFE2},
      {0xDEE3E7, 0xE7E7E7, 0xDEE3E7, 0xDEE3E7},
      {0xFBFCFC, 0xFBFCFC, 0xE6EBEC, 0xE6EBEC}}},
    {{{0xCEE3EF, 0xCEE3EF, 0xCEE3EF, 0xCEE3EF},
      {0xCFF0FF, 0xCFF0FF, 0x0097E5, 0x0097E5},
      {0xBDCBD6, 0xC6CFD6, 0xEFF3F7, 0xEFF3F7},
      {0xCFF0FF, 0xCFF0FF, 0x0097E5, 0x0097E5},
      {0xFFFFFF, 0xFFFFFF, 0xD6DFE2, 0xD6DFE2},
      {0xCEE3EF, 0xCEE3EF, 0xCEE3EF, 0xCEE3EF},
      {0xFBFCFC, 0xFBFCFC, 0xC9E1EC, 0xC9E1EC}}},
    {{{0xCEE3EF, 0xCEE3EF, 0xCEE3EF, 0xCEE3EF},
      {0xCFF0FF, 0xCFF0FF, 0x0097E5, 0x0097E5},
      {0xBDCBD6, 0xC6CFD6, 0xEFF3F7, 0xEFF3F7},
      {0xFFE7CE, 0xFFE7CE, 0xEE8269, 0xEE8269},
      {0xFFFFFF, 0xFFFFFF, 0xD6DFE2, 0xD6DFE2},
      {0xC5B2B3, 0xC5B2B3, 0xFBFCFC, 0xFBFCFC},
      {0xFBFCFC, 0xFBFCFC, 0xD7C5C6, 0xD7C5C6}}},
}};

constexpr std::array<COLORREF, 3> kButtonFrames = {0x733C00, 0x066237, 0x743C00};
constexpr std::array<COLORREF, 3> kEditFrames = {0xBD9E7B, 0x7FB9A4, 0xD7C5C6};
constexpr std::array<COLORREF, 3> kMarks = {0x21A121, 0x066237, 0x743C00};

std::size_t slot(int style) {
  return style >= 1 && style <= 3 ? static_cast<std::size_t>(style - 1) : 0;
}

}  // namespace

const Quad& button_quad(int style, QuadIndex index) {
  return kButtonQuads[slot(style)][static_cast<std::size_t>(std::clamp(static_cast<int>(index), 0, 6))];
}

COLORREF button_frame_colour(int style) {
  return kButtonFrames[slot(style)];
}

COLORREF edit_frame_colour(int style) {
  return kEditFrames[slot(style)];
}

COLORREF mark_colour(int style) {
  return kMarks[slot(style)];
}

COLORREF darker(COLORREF colour, COLORREF by) {
  auto channel = [](int a, int b) { return static_cast<BYTE>(std::max(0, a - b)); };
  return RGB(channel(GetRValue(colour), GetRValue(by)), channel(GetGValue(colour), GetGValue(by)),
             channel(GetBValue(colour), GetBValue(by)));
}

COLORREF button_face() {
  return GetSysColor(COLOR_BTNFACE);
}

COLORREF window_colour() {
  return GetSysColor(COLOR_WINDOW);
}

}  // namespace libs::visualstyle
