#include "platform/controls/control_common.h"

#include <vector>

namespace platform::controls {

RECT client_rect(HWND hwnd) {
  RECT r{0, 0, 0, 0};
  GetClientRect(hwnd, &r);
  return r;
}

std::string window_text(HWND hwnd) {
  int length = GetWindowTextLengthA(hwnd);
  if (length <= 0) return {};
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
  int got = GetWindowTextA(hwnd, buffer.data(), length + 1);
  return std::string(buffer.data(), got > 0 ? static_cast<std::size_t>(got) : 0);
}

DWORD window_style(HWND hwnd) {
  return static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
}

bool live_window(HWND hwnd) {
  if (IsWindow(hwnd)) return true;
  SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return false;
}

bool point_in(const RECT& r, POINT p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

void notify_parent(HWND control, WORD code) {
  HWND parent = GetParent(control);
  if (!parent) return;
  auto id = static_cast<WORD>(GetDlgCtrlID(control));
  SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

HBRUSH parent_colours(HWND control, HDC dc, UINT ctlcolor_message) {
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  SetBkMode(dc, TRANSPARENT);
  HWND parent = GetParent(control);
  HBRUSH brush = nullptr;
  if (parent) {
    brush = reinterpret_cast<HBRUSH>(SendMessageA(parent, ctlcolor_message, reinterpret_cast<WPARAM>(dc),
                                                  reinterpret_cast<LPARAM>(control)));
  }
  return brush ? brush : GetSysColorBrush(COLOR_BTNFACE);
}

HFONT font_or_default(HFONT font) {
  return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void fill_rect(HDC dc, const RECT& rect, COLORREF colour) {
  OwnedGdiObject brush(CreateSolidBrush(colour));
  FillRect(dc, &rect, static_cast<HBRUSH>(brush.get()));
}

namespace {

void frame(HDC dc, const RECT& r, int colour_index) {
  FrameRect(dc, &r, GetSysColorBrush(colour_index));
}

// Halfway between the face and the highlight: the classic look of a latched push-like box.
COLORREF latched_face() {
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
  return RGB(static_cast<BYTE>((GetRValue(face) + GetRValue(light)) / 2),
             static_cast<BYTE>((GetGValue(face) + GetGValue(light)) / 2),
             static_cast<BYTE>((GetBValue(face) + GetBValue(light)) / 2));
}

}  // namespace

RECT draw_push_face(HDC dc, RECT rect, const FaceLook& look) {
  if (look.is_default) {
    frame(dc, rect, COLOR_WINDOWFRAME);
    InflateRect(&rect, -1, -1);
  }
  COLORREF face = look.checked && !look.pressed ? latched_face() : GetSysColor(COLOR_BTNFACE);
  if (look.flat) {
    frame(dc, rect, COLOR_WINDOWFRAME);
    InflateRect(&rect, -1, -1);
    fill_rect(dc, rect, look.pressed || look.checked ? GetSysColor(COLOR_3DLIGHT) : face);
    return rect;
  }
  fill_rect(dc, rect, face);
  DrawEdge(dc, &rect, look.pressed || look.checked ? EDGE_SUNKEN : EDGE_RAISED,
           BF_RECT | BF_SOFT | BF_ADJUST);
  return rect;
}

}  // namespace platform::controls
