// Moving and sizing a window with the mouse: a modal loop that follows the pointer until the
// button is released (Escape puts the window back).
#include <algorithm>

#include "platform/api/input.h"
#include "platform/winsys/window_internal.h"

namespace platform::winsys {
namespace {

constexpr int kLeft = 1, kRight = 2, kTop = 3, kTopLeft = 4, kTopRight = 5, kBottom = 6, kBottomLeft = 7,
              kBottomRight = 8;

bool moves_left(int e) {
  return e == kLeft || e == kTopLeft || e == kBottomLeft;
}
bool moves_right(int e) {
  return e == kRight || e == kTopRight || e == kBottomRight;
}
bool moves_top(int e) {
  return e == kTop || e == kTopLeft || e == kTopRight;
}
bool moves_bottom(int e) {
  return e == kBottom || e == kBottomLeft || e == kBottomRight;
}

// The window rectangle in its parent's client coordinates.
RECT rect_in_parent(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  HWND parent = (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_CHILD) ? GetAncestor(hwnd, GA_PARENT) : nullptr;
  if (parent) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace

void move_loop(HWND hwnd, POINT start, int edge, bool sizing) {
  if (!IsWindow(hwnd)) return;
  RECT orig = rect_in_parent(hwnd);
  MINMAXINFO mmi = minmax_info(hwnd);
  SendMessageA(hwnd, WM_ENTERSIZEMOVE, 0, 0);
  SetCapture(hwnd);
  MSG msg{};
  bool cancel = false;
  while (IsWindow(hwnd) && GetCapture() == hwnd) {
    if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
      if (msg.message == WM_QUIT) PostQuitMessage(static_cast<int>(msg.wParam));  // for the outer loop
      break;
    }
    if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP) break;
    if (msg.message == WM_KEYDOWN && (msg.wParam == VK_ESCAPE || msg.wParam == VK_RETURN)) {
      cancel = msg.wParam == VK_ESCAPE;
      break;
    }
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
      int dx = msg.pt.x - start.x, dy = msg.pt.y - start.y;
      RECT r = orig;
      if (!sizing) {
        r = rect_offset(orig, dx, dy);
        SendMessageA(hwnd, WM_MOVING, 0, reinterpret_cast<LPARAM>(&r));
        SetWindowPos(hwnd, nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      } else {
        if (moves_left(edge)) r.left += dx;
        if (moves_right(edge)) r.right += dx;
        if (moves_top(edge)) r.top += dy;
        if (moves_bottom(edge)) r.bottom += dy;
        int w = std::clamp<int>(r.right - r.left, mmi.ptMinTrackSize.x,
                                std::max(mmi.ptMinTrackSize.x, mmi.ptMaxTrackSize.x));
        int h = std::clamp<int>(r.bottom - r.top, mmi.ptMinTrackSize.y,
                                std::max(mmi.ptMinTrackSize.y, mmi.ptMaxTrackSize.y));
        if (moves_left(edge))
          r.left = r.right - w;
        else
          r.right = r.left + w;
        if (moves_top(edge))
          r.top = r.bottom - h;
        else
          r.bottom = r.top + h;
        SendMessageA(hwnd, WM_SIZING, static_cast<WPARAM>(edge), reinterpret_cast<LPARAM>(&r));
        SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
      }
      continue;
    }
    bool input = (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) ||
                 (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) ||
                 (msg.message >= WM_NCMOUSEMOVE && msg.message <= 0x00A9);
    if (!input) DispatchMessageA(&msg);
  }
  if (IsWindow(hwnd) && GetCapture() == hwnd) ReleaseCapture();
  if (!IsWindow(hwnd)) return;
  if (cancel)
    SetWindowPos(hwnd, nullptr, orig.left, orig.top, orig.right - orig.left, orig.bottom - orig.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageA(hwnd, WM_EXITSIZEMOVE, 0, 0);
}

}  // namespace platform::winsys
