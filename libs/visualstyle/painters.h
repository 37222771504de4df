// The painters, one per painted control type, and the shared face of button-like parts.
// Contract: a painter draws the whole control from its record's flags into the context's DC
// (an off-screen canvas in window coordinates); it changes no window state. paint_control()
// runs the painter of the record's type through an off-screen canvas and does nothing for a
// window that is gone or has nothing to draw.
#pragma once

#include "libs/visualstyle/canvas.h"
#include "libs/visualstyle/control_record.h"

namespace libs::visualstyle {

struct PaintContext {
  HWND window;
  HDC dc;
  RECT bounds;
  const ControlRecord& record;
  int style;
};

void paint_push_button(const PaintContext& c);
void paint_check_box(const PaintContext& c);
void paint_radio_button(const PaintContext& c);
void paint_edit(const PaintContext& c);
void paint_combo_box(const PaintContext& c);
void paint_up_down(const PaintContext& c);
void paint_group_box(const PaintContext& c);
void paint_drop_list(const PaintContext& c);

void paint_control(HWND window, const ControlRecord& record);

// A button-like face: a 1-pixel frame, the outer quad (or the flat disabled fill) inside it and,
// `band` pixels further in, the inner quad when one is given. Corners are rounded when
// `rounded`.
struct FaceLook {
  QuadIndex outer = kQuadNormal;
  const Quad* inner = nullptr;
  bool disabled = false;
  bool rounded = true;
  COLORREF frame_colour = 0;
  COLORREF corner_outside = 0;
  COLORREF corner_inside = 0;
  int band = 2;
};
void paint_face(HDC dc, const RECT& frame_rect, int style, const FaceLook& look);

// DT_* flags for a button's caption from its BS_* alignment styles; `horizontal` is used when
// the style names no horizontal alignment.
UINT button_text_format(DWORD style, UINT horizontal);

// The state quad of a small button-like part (check box, up-down half, drop button).
QuadIndex part_quad(bool pressed, bool over);

}  // namespace libs::visualstyle
