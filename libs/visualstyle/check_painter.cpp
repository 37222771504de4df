// Check boxes and radio buttons: a 13-pixel box or circle with the push button's gradient bands
// (pressed, mouse over, normal), a mark in the style's colour, and the caption beside it.
#include <array>

#include "libs/visualstyle/painters.h"
#include "platform/api/controls.h"

namespace libs::visualstyle {
namespace {

constexpr int kBox = 13;
constexpr int kGap = 4;

struct Layout {
  RECT box;
  RECT text;
};

Layout lay_out(const RECT& all, DWORD style) {
  const int height = all.bottom - all.top;
  int top = all.top + (height - kBox) / 2;
  if ((style & BS_VCENTER) == BS_TOP) top = all.top;
  if ((style & BS_VCENTER) == BS_BOTTOM) top = all.bottom - kBox;
  Layout l;
  if (style & BS_LEFTTEXT) {
    l.box = RECT{all.right - kBox, top, all.right, top + kBox};
    l.text = RECT{all.left + 1, all.top, all.right - kBox - kGap, all.bottom};
  } else {
    l.box = RECT{all.left, top, all.left + kBox, top + kBox};
    l.text = RECT{all.left + kBox + kGap, all.top, all.right - 1, all.bottom};
  }
  return l;
}

FaceLook part_look(const PaintContext& c) {
  const std::uint32_t f = c.record.flags;
  const bool disabled = f & flag::kDisabled;
  const bool pressed = f & flag::kPressed;
  FaceLook look;
  look.outer = part_quad(pressed, f & flag::kMouseOver);
  look.inner = &button_quad(c.style, pressed ? kQuadInnerPressed : kQuadInner);
  if (disabled && !pressed) look.inner = nullptr;
  look.disabled = disabled;
  look.rounded = false;
  look.band = 1;
  look.frame_colour = disabled ? darker(button_face(), 0x202020) : edit_frame_colour(c.style);
  return look;
}

COLORREF mark_for(const PaintContext& c) {
  return (c.record.flags & flag::kDisabled) ? kGreyText : mark_colour(c.style);
}

void draw_tick(HDC dc, const RECT& box, COLORREF colour) {
  // A 7-pixel-wide tick, each column three pixels deep.
  constexpr std::array<int, 7> kTop = {2, 3, 4, 3, 2, 1, 0};
  for (int i = 0; i < 7; ++i) {
    const int x = box.left + 3 + i, y = box.top + 3 + kTop[static_cast<std::size_t>(i)];
    fill(dc, RECT{x, y, x + 1, y + 3}, colour);
  }
}

void draw_caption_and_focus(const PaintContext& c, const RECT& area, DWORD style) {
  Selection font(c.dc, window_font(c.window));
  const COLORREF colour = (c.record.flags & flag::kDisabled) ? kGreyText : c.record.text_colour;
  const UINT horizontal = (style & BS_LEFTTEXT) ? DT_RIGHT : DT_LEFT;
  RECT extent =
      draw_caption(c.dc, window_text(c.window), area, button_text_format(style, horizontal), colour);
  if ((c.record.flags & flag::kFocused) && !empty(extent)) {
    InflateRect(&extent, 1, 1);
    DrawFocusRect(c.dc, &extent);
  }
}

}  // namespace

void paint_check_box(const PaintContext& c) {
  const auto style = static_cast<DWORD>(GetWindowLongA(c.window, GWL_STYLE));
  const Layout l = lay_out(c.bounds, style);
  fill(c.dc, c.bounds, c.record.brush);
  paint_face(c.dc, l.box, c.style, part_look(c));
  if (c.record.flags & flag::kChecked) draw_tick(c.dc, l.box, mark_for(c));
  if (c.record.flags & flag::kIndeterminate) fill(c.dc, inset(l.box, 3), mark_for(c));
  draw_caption_and_focus(c, l.text, style);
}

void paint_radio_button(const PaintContext& c) {
  const auto style = static_cast<DWORD>(GetWindowLongA(c.window, GWL_STYLE));
  const Layout l = lay_out(c.bounds, style);
  fill(c.dc, c.bounds, c.record.brush);
  const FaceLook look = part_look(c);
  {
    GdiObject circle(CreateEllipticRgn(l.box.left, l.box.top, l.box.right, l.box.bottom));
    const int saved = SaveDC(c.dc);
    SelectClipRgn(c.dc, static_cast<HRGN>(circle.get()));
    FaceLook inside = look;
    inside.frame_colour = look.disabled ? kDisabledFill : button_quad(c.style, look.outer).top_left;
    paint_face(c.dc, l.box, c.style, inside);
    RestoreDC(c.dc, saved);
  }
  GdiObject pen(CreatePen(PS_SOLID, 1, look.frame_colour));
  Selection use_pen(c.dc, pen.get());
  Selection hollow(c.dc, GetStockObject(NULL_BRUSH));
  Ellipse(c.dc, l.box.left, l.box.top, l.box.right, l.box.bottom);
  if (c.record.flags & (flag::kChecked | flag::kIndeterminate)) {
    GdiObject dot_brush(CreateSolidBrush(mark_for(c)));
    GdiObject dot_pen(CreatePen(PS_SOLID, 1, mark_for(c)));
    Selection b(c.dc, dot_brush.get());
    Selection p(c.dc, dot_pen.get());
    const RECT dot = inset(l.box, 4);
    Ellipse(c.dc, dot.left, dot.top, dot.right, dot.bottom);
  }
  draw_caption_and_focus(c, l.text, style);
}

}  // namespace libs::visualstyle
