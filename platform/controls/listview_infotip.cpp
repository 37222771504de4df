// The info-tip pop-up: a small bordered window near the mouse with the owner's text.
#include <algorithm>
#include <string>

#include "platform/controls/control_common.h"
#include "platform/controls/listview_state.h"

namespace platform::controls::listview {

namespace {

constexpr const char* kTipClass = "SysListViewInfoTip";
constexpr int kMaxTipWidth = 320;
constexpr int kPadX = 4;
constexpr int kPadY = 2;
constexpr int kBelowCursor = 20;

HFONT tip_font(HWND tip) {
  const auto font = reinterpret_cast<HFONT>(GetWindowLongPtrA(tip, GWLP_USERDATA));
  return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

std::string text_of(HWND hwnd) {
  const int len = std::max(0, GetWindowTextLengthA(hwnd));
  std::string text(static_cast<std::size_t>(len) + 1, '\0');
  const int got = GetWindowTextA(hwnd, text.data(), len + 1);
  text.resize(static_cast<std::size_t>(std::max(0, got)));
  return text;
}

LRESULT tip_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps{};
      HDC dc = BeginPaint(hwnd, &ps);
      RECT r{};
      GetClientRect(hwnd, &r);
      FillRect(dc, &r, GetSysColorBrush(COLOR_INFOBK));
      HGDIOBJ old = SelectObject(dc, tip_font(hwnd));
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
      InflateRect(&r, -kPadX, -kPadY);
      const std::string text = text_of(hwnd);
      DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_WORDBREAK | DT_NOPREFIX);
      SelectObject(dc, old);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_SETFONT:
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(wp));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
      return 3;  // MA_NOACTIVATE
    default:
      return DefWindowProcA(hwnd, msg, wp, lp);
  }
}

}  // namespace

void register_tip_class() {
  register_control_class(kTipClass, tip_proc, CS_GLOBALCLASS | CS_SAVEBITS);
}

void show_tip(State& st, std::string_view text, POINT screen) {
  if (!st.tip)
    st.tip = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kTipClass, "", WS_POPUP | WS_BORDER, 0, 0, 0,
                             0, st.hwnd, nullptr, nullptr, nullptr);
  if (!st.tip) return;
  const std::string copy(text);
  SetWindowTextA(st.tip, copy.c_str());
  SendMessageA(st.tip, WM_SETFONT, reinterpret_cast<WPARAM>(st.font), FALSE);
  RECT calc{0, 0, kMaxTipWidth, 0};
  HDC dc = GetDC(st.tip);
  HGDIOBJ old = SelectObject(dc, tip_font(st.tip));
  DrawTextA(dc, copy.c_str(), static_cast<int>(copy.size()), &calc, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(st.tip, dc);
  RECT frame{0, 0, calc.right + 2 * kPadX, calc.bottom + 2 * kPadY};
  AdjustWindowRectEx(&frame, WS_POPUP | WS_BORDER, FALSE, WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
  const int w = frame.right - frame.left;
  const int h = frame.bottom - frame.top;
  // Kept on the screen.
  const int x = std::clamp<int>(screen.x, 0, std::max(0, GetSystemMetrics(SM_CXSCREEN) - w));
  int y = screen.y + kBelowCursor;
  if (y + h > GetSystemMetrics(SM_CYSCREEN)) y = std::max<int>(0, screen.y - h - 2);
  SetWindowPos(st.tip, HWND_TOPMOST, x, y, w, h, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(st.tip, nullptr, TRUE);
}

void hide_tip(State& st) {
  st.tip_item = -1;
  if (st.tip && IsWindowVisible(st.tip)) ShowWindow(st.tip, SW_HIDE);
}

}  // namespace platform::controls::listview
