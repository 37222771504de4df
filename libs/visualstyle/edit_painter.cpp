// Edits, combo boxes and drop-down lists: a frame in the style's edit colour with a second
// frame inside it, drawn over what the control painted itself; combo boxes add a drop button.
#include "libs/visualstyle/painters.h"

namespace libs::visualstyle {
namespace {

bool has_border(HWND window) {
  const auto style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
  const auto ex_style = static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE));
  return (style & WS_BORDER) || (ex_style & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
}

COLORREF outer_colour(const PaintContext& c) {
  return (c.record.flags & flag::kDisabled) ? darker(button_face(), 0x202020) : edit_frame_colour(c.style);
}

void paint_frames(const PaintContext& c) {
  frame(c.dc, c.bounds, outer_colour(c));
  const bool grey = c.record.flags & (flag::kDisabled | flag::kReadOnly);
  frame(c.dc, inset(c.bounds, 1), grey ? button_face() : window_colour());
}

}  // namespace

void paint_edit(const PaintContext& c) {
  if (!has_border(c.window)) return;
  paint_frames(c);
  // The up-down beside the edit continues it: the shared edge is drawn white.
  const RECT& b = c.bounds;
  if (c.record.flags & flag::kUpDownRight)
    fill(c.dc, RECT{b.right - 1, b.top + 1, b.right, b.bottom - 1}, kWhite);
  if (c.record.flags & flag::kUpDownLeft)
    fill(c.dc, RECT{b.left, b.top + 1, b.left + 1, b.bottom - 1}, kWhite);
}

void paint_combo_box(const PaintContext& c) {
  paint_frames(c);
  const std::uint32_t f = c.record.flags;
  const int width = GetSystemMetrics(SM_CXVSCROLL);
  const RECT button{c.bounds.right - 2 - width, c.bounds.top + 2, c.bounds.right - 2, c.bounds.bottom - 2};
  if (empty(button)) return;
  const bool disabled = f & flag::kDisabled;
  const bool pressed = f & flag::kPressed;
  FaceLook look;
  look.outer = part_quad(pressed, f & flag::kMouseOver);
  look.inner =
      disabled && !pressed ? nullptr : &button_quad(c.style, pressed ? kQuadInnerPressed : kQuadInner);
  look.disabled = disabled;
  look.band = 1;
  look.frame_colour = outer_colour(c);
  look.corner_outside = disabled ? button_face() : window_colour();
  look.corner_inside = look.frame_colour;
  paint_face(c.dc, button, c.style, look);
  RECT arrow = button;
  if (pressed) OffsetRect(&arrow, 1, 1);
  draw_arrow(c.dc, arrow, Arrow::kDown, disabled ? kGreyText : kBlack);
}

void paint_drop_list(const PaintContext& c) {
  frame(c.dc, c.bounds, edit_frame_colour(c.style));
}

}  // namespace libs::visualstyle
