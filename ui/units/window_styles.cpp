#include "ui/units/window_styles.h"

#include "platform/api/gdi.h"
#include "platform/api/user.h"

namespace ui {

namespace {

constexpr DWORD kManagedStyles = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX |
                                 WS_MAXIMIZEBOX | WS_CLIPCHILDREN | WS_BORDER;
constexpr DWORD kManagedExStyles = WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE;

struct BorderShape {
  bool framed;
  bool sizing;
  DWORD ex_style;
};

BorderShape border_shape(std::int32_t border_style) {
  switch (border_style) {
    case 1:
      return {true, true, 0};
    case 2:
      return {true, false, 0};
    case 3:
      return {true, true, WS_EX_TOOLWINDOW};
    case 4:
      return {true, false, WS_EX_TOOLWINDOW};
    case 5:
      return {true, true, WS_EX_CLIENTEDGE};
    case 6:
      return {true, false, WS_EX_CLIENTEDGE};
    default:
      return {false, false, 0};
  }
}

}  // namespace

bool has_sizing_border(std::int32_t border_style) {
  return border_shape(border_style).sizing;
}

WindowStyles window_styles(const WindowProperties& p, bool has_owner) {
  const BorderShape shape = border_shape(p.border_style);
  WindowStyles s;
  s.style = WS_CLIPCHILDREN;
  s.ex_style = shape.ex_style;
  if (shape.framed) {
    s.style |= shape.sizing ? WS_THICKFRAME : WS_BORDER;
    if (!p.title.empty() || p.control_box) s.style |= WS_CAPTION;
  }
  if (p.control_box) s.style |= WS_SYSMENU;
  if (p.minimise_box) s.style |= WS_MINIMIZEBOX;
  if (p.maximise_box) s.style |= WS_MAXIMIZEBOX;
  // Overlapped windows always get a caption: one without must be a popup.
  if (has_owner || (s.style & WS_CAPTION) != WS_CAPTION) s.style |= WS_POPUP;
  return s;
}

void set_window_styles(HWND hwnd, const WindowStyles& styles) {
  const auto style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
  const auto ex = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_EXSTYLE));
  SetWindowLongA(hwnd, GWL_STYLE, static_cast<LONG>((style & ~kManagedStyles) | styles.style));
  SetWindowLongA(hwnd, GWL_EXSTYLE, static_cast<LONG>((ex & ~kManagedExStyles) | styles.ex_style));
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

HRGN window_shape_region(std::int32_t shape, int width, int height) {
  if (shape <= 0 || width <= 0 || height <= 0) return nullptr;
  if (shape == 1) return CreateEllipticRgn(0, 0, width, height);
  const int corner = 8 * (shape - 1);
  return CreateRoundRectRgn(0, 0, width + 1, height + 1, corner, corner);
}

}  // namespace ui
