#include <array>

#include "libs/visualstyle/painters.h"
#include "platform/api/controls.h"

namespace libs::visualstyle {
namespace {

using Painter = void (*)(const PaintContext&);

// Indexed by type number; types that are not painted have no painter.
constexpr std::array<Painter, 13> kPainters = {
    &paint_push_button,
    &paint_check_box,
    &paint_radio_button,
    &paint_edit,
    &paint_combo_box,
    &paint_up_down,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    &paint_group_box,
    &paint_drop_list,
};

}  // namespace

void paint_control(HWND window, const ControlRecord& record) {
  const int type = static_cast<int>(record.type);
  if (type < 0 || type >= static_cast<int>(kPainters.size()) || kPainters[type] == nullptr) return;
  if (!IsWindow(window)) return;
  OffscreenCanvas canvas(window);
  if (canvas.dc() == nullptr) return;
  kPainters[type](PaintContext{window, canvas.dc(), canvas.bounds(), record, style_number()});
}

void paint_face(HDC dc, const RECT& r, int style, const FaceLook& look) {
  frame(dc, r, look.frame_colour);
  const RECT face = inset(r, 1);
  if (look.disabled)
    fill(dc, face, kDisabledFill);
  else
    fill_quad(dc, face, button_quad(style, look.outer));
  if (look.inner != nullptr) fill_quad(dc, inset(r, 1 + look.band), *look.inner);
  if (look.rounded) round_corners(dc, r, look.corner_outside, look.corner_inside);
}

UINT button_text_format(DWORD style, UINT horizontal) {
  UINT format = 0;
  switch (style & BS_CENTER) {
    case BS_LEFT:
      format |= DT_LEFT;
      break;
    case BS_RIGHT:
      format |= DT_RIGHT;
      break;
    case BS_CENTER:
      format |= DT_CENTER;
      break;
    default:
      format |= horizontal;
  }
  switch (style & BS_VCENTER) {
    case BS_TOP:
      format |= DT_TOP;
      break;
    case BS_BOTTOM:
      format |= DT_BOTTOM;
      break;
    default:
      format |= DT_VCENTER;
  }
  return format | ((style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE);
}

QuadIndex part_quad(bool pressed, bool over) {
  if (pressed) return kQuadPressed;
  return over ? kQuadOver : kQuadNormal;
}

}  // namespace libs::visualstyle
