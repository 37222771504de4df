// DrawEdge: the classic two-line 3-D borders, in the system colours.
#include "platform/gdi/dc.h"
#include "platform/gdi/handle_table.h"

using namespace platform::gdi;

namespace {

void fill(Canvas& c, int l, int t, int r, int b, COLORREF colour) {
  if (r <= l || b <= t) return;
  cairo_t* cr = c.cr();
  set_source_color(cr, colour, c.dc().mono());
  cairo_rectangle(cr, l, t, r - l, b - t);
  cairo_fill(cr);
}

// One line of the border around rc (top-left colour, bottom-right colour) on the given sides.
void edge_line(Canvas& c, RECT& rc, UINT flags, COLORREF top_left, COLORREF bottom_right) {
  // Top and left lines first; the bottom and right lines cover the far corners.
  if (flags & BF_TOP) fill(c, rc.left, rc.top, rc.right, rc.top + 1, top_left);
  if (flags & BF_LEFT) fill(c, rc.left, rc.top, rc.left + 1, rc.bottom, top_left);
  if (flags & BF_BOTTOM) fill(c, rc.left, rc.bottom - 1, rc.right, rc.bottom, bottom_right);
  if (flags & BF_RIGHT) fill(c, rc.right - 1, rc.top, rc.right, rc.bottom, bottom_right);
  if (flags & BF_TOP) ++rc.top;
  if (flags & BF_LEFT) ++rc.left;
  if (flags & BF_BOTTOM) --rc.bottom;
  if (flags & BF_RIGHT) --rc.right;
}

}  // namespace

extern "C" {

BOOL WINAPI DrawEdge(HDC hdc, LPRECT qrc, UINT edge, UINT grfFlags) {
  auto dc = find<Dc>(hdc);
  if (!dc || !qrc) return FALSE;
  RECT rc = *qrc;
  const UINT outer = edge & BDR_OUTER;
  const UINT inner = edge & BDR_INNER;
  Canvas c(*dc);
  const COLORREF light = GetSysColor(COLOR_3DLIGHT), hilight = GetSysColor(COLOR_BTNHIGHLIGHT);
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), dark = GetSysColor(COLOR_3DDKSHADOW);
  COLORREF middle = GetSysColor(COLOR_BTNFACE);
  if (grfFlags & BF_MONO) {
    const COLORREF frame = GetSysColor(COLOR_WINDOWFRAME), window = GetSysColor(COLOR_WINDOW);
    if (outer) edge_line(c, rc, grfFlags, frame, frame);
    if (inner) edge_line(c, rc, grfFlags, window, window);
    middle = window;
  } else if (grfFlags & BF_FLAT) {
    if (outer) edge_line(c, rc, grfFlags, shadow, shadow);
    if (inner) edge_line(c, rc, grfFlags, middle, middle);
  } else {
    if (outer == BDR_RAISEDOUTER) edge_line(c, rc, grfFlags, light, dark);
    if (outer == BDR_SUNKENOUTER) edge_line(c, rc, grfFlags, shadow, hilight);
    if (inner == BDR_RAISEDINNER) edge_line(c, rc, grfFlags, hilight, shadow);
    if (inner == BDR_SUNKENINNER) edge_line(c, rc, grfFlags, dark, light);
  }
  if (grfFlags & BF_MIDDLE) fill(c, rc.left, rc.top, rc.right, rc.bottom, middle);
  if (grfFlags & BF_ADJUST) *qrc = rc;
  return TRUE;
}

}  // extern "C"
