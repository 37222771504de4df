// How a label paints itself, in this order: the painted frame (border style 6), the background
// picture or the gradient, the background colour, the caption.
// Contract:
// - The frame is painted only with a frame width above 0 and at least two frame colours that
//   are not the default colour; its rings blend outside to inside through those colours, and
//   the rest is painted inside it.
// - The background picture (placed by the picture mode: 0 top-left, 1 tiled, 2 centred and
//   fit) is painted over the background colour. Without one, gradient modes 1-8 paint the area
//   when at least two gradient colours are not the default: 1 left to right, 2 top to bottom,
//   3 right to left, 4 bottom to top, 5 from both side edges to the middle and back, 6 the same
//   from the top and bottom edges, 7 top-left to bottom-right, 8 top-right to bottom-left.
// - The caption is drawn transparently, unclipped within the area, aligned left, centred or
//   right; with word wrap it breaks into lines (and at "\r\n"), otherwise it is one line placed
//   at the top, middle or bottom. Text effects draw a copy first: 1 white at (+1, +1), 2 white
//   at the text's place with the text itself at (+1, +1), 3 black at (+2, +2).
#pragma once

#include "platform/api/types.h"
#include "ui/picture/picture_content.h"
#include "ui/units/label_properties.h"

namespace ui {

void paint_label(HDC dc, const RECT& client, const LabelProperties& properties, HFONT font,
                 lyr::picture::PictureContent& picture);

}  // namespace ui
