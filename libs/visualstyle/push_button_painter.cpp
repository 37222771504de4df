// The push button (also check boxes and radio buttons with BS_PUSHLIKE): a frame in the style's
// colour around two gradient bands chosen by state, rounded corners, the focus rectangle and
// the caption (or icon).
#include <algorithm>

#include "libs/visualstyle/painters.h"
#include "platform/api/controls.h"
#include "platform/api/input.h"

namespace libs::visualstyle {
namespace {

QuadIndex state_quad(std::uint32_t f) {
  if (f & flag::kPressed) return kQuadPressed;
  if (f & flag::kMouseOver) return kQuadOver;
  if (f & (flag::kChecked | flag::kIndeterminate)) return kQuadChecked;
  if (f & (flag::kFocused | flag::kDefault)) return kQuadFocused;
  return kQuadNormal;
}

void draw_icon(HDC dc, HWND window, RECT area) {
  auto icon = reinterpret_cast<HICON>(SendMessageA(window, BM_GETIMAGE, IMAGE_ICON, 0));
  if (icon == nullptr) return;
  const int size = std::min({32, area.right - area.left, area.bottom - area.top});
  if (size <= 0) return;
  DrawIconEx(dc, (area.left + area.right - size) / 2, (area.top + area.bottom - size) / 2, icon, size, size,
             0, nullptr, DI_NORMAL);
}

}  // namespace

void paint_push_button(const PaintContext& c) {
  const std::uint32_t f = c.record.flags;
  const bool disabled = f & flag::kDisabled;
  const bool pressed = f & flag::kPressed;
  const bool marked = f & (flag::kChecked | flag::kIndeterminate);
  const COLORREF face = button_face();

  fill(c.dc, c.bounds, c.record.brush);
  frame(c.dc, c.bounds, face);
  const Quad* inner = nullptr;
  if (pressed || marked)
    inner = &button_quad(c.style, kQuadInnerPressed);
  else if (!disabled)
    inner = &button_quad(c.style, kQuadInner);
  FaceLook look;
  look.outer = state_quad(f);
  look.inner = inner;
  look.disabled = disabled;
  look.frame_colour = disabled ? darker(face, 0x202020) : button_frame_colour(c.style);
  look.corner_outside = disabled ? darker(face, 0x151515) : face;
  look.corner_inside = disabled ? darker(face, 0x111111) : look.frame_colour;
  paint_face(c.dc, inset(c.bounds, 1), c.style, look);

  if ((f & flag::kFocused) && !disabled) {
    const RECT focus = inset(c.bounds, 3);
    if (!empty(focus)) DrawFocusRect(c.dc, &focus);
  }

  RECT text_area = inset(c.bounds, 4);
  text_area.left += 2;
  text_area.right -= 2;
  if (pressed) OffsetRect(&text_area, 1, 1);
  const auto style = static_cast<DWORD>(GetWindowLongA(c.window, GWL_STYLE));
  if (style & BS_ICON) {
    draw_icon(c.dc, c.window, text_area);
    return;
  }
  Selection font(c.dc, window_font(c.window));
  const COLORREF colour = disabled || (f & flag::kIndeterminate) ? kGreyText : kBlack;
  draw_caption(c.dc, window_text(c.window), text_area, button_text_format(style, DT_CENTER), colour);
}

}  // namespace libs::visualstyle
