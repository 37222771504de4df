// Up-down controls: two small buttons in the push button's manner, the half under the mouse lit,
// the pressed half sunk, an arrow in each.
#include "libs/visualstyle/painters.h"

namespace libs::visualstyle {
namespace {

void paint_half(const PaintContext& c, const RECT& r, bool first, Arrow arrow) {
  const std::uint32_t f = c.record.flags;
  const bool on_this_half = ((f & flag::kOverFirstHalf) != 0) == first;
  const bool disabled = f & flag::kDisabled;
  const bool pressed = (f & flag::kPressed) && on_this_half;
  const bool over = (f & flag::kMouseOver) && on_this_half;
  FaceLook look;
  look.outer = part_quad(pressed, over);
  look.inner =
      disabled && !pressed ? nullptr : &button_quad(c.style, pressed ? kQuadInnerPressed : kQuadInner);
  look.disabled = disabled;
  look.band = 1;
  look.frame_colour = disabled ? darker(button_face(), 0x202020) : edit_frame_colour(c.style);
  look.corner_outside = button_face();
  look.corner_inside = look.frame_colour;
  paint_face(c.dc, r, c.style, look);
  RECT glyph = r;
  if (pressed) OffsetRect(&glyph, 1, 1);
  draw_arrow(c.dc, glyph, arrow, disabled ? kGreyText : kBlack);
}

}  // namespace

void paint_up_down(const PaintContext& c) {
  fill(c.dc, c.bounds, c.record.brush);
  const RECT& b = c.bounds;
  if (c.record.flags & flag::kHorizontal) {
    const int mid = (b.left + b.right) / 2;
    paint_half(c, RECT{b.left, b.top, mid, b.bottom}, true, Arrow::kLeft);
    paint_half(c, RECT{mid, b.top, b.right, b.bottom}, false, Arrow::kRight);
  } else {
    const int mid = (b.top + b.bottom) / 2;
    paint_half(c, RECT{b.left, b.top, b.right, mid}, true, Arrow::kUp);
    paint_half(c, RECT{b.left, mid, b.right, b.bottom}, false, Arrow::kDown);
  }
}

}  // namespace libs::visualstyle
