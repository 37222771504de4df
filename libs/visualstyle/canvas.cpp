#include "libs/visualstyle/canvas.h"

#include <algorithm>
#include <array>

namespace libs::visualstyle {
namespace {

TRIVERTEX vertex(int x, int y, COLORREF c) {
  TRIVERTEX v{};
  v.x = x;
  v.y = y;
  v.Red = static_cast<COLOR16>(GetRValue(c) << 8);
  v.Green = static_cast<COLOR16>(GetGValue(c) << 8);
  v.Blue = static_cast<COLOR16>(GetBValue(c) << 8);
  return v;
}

}  // namespace

OffscreenCanvas::OffscreenCanvas(HWND window) : window_(window) {
  RECT r{};
  if (!GetWindowRect(window, &r)) return;
  width_ = r.right - r.left;
  height_ = r.bottom - r.top;
  if (width_ <= 0 || height_ <= 0) return;
  window_dc_ = GetWindowDC(window);
  if (window_dc_ == nullptr) return;
  memory_ = CreateCompatibleDC(window_dc_);
  bitmap_ = memory_ != nullptr ? CreateCompatibleBitmap(window_dc_, width_, height_) : nullptr;
  if (bitmap_ == nullptr) {
    if (memory_ != nullptr) DeleteDC(memory_);
    memory_ = nullptr;
    return;
  }
  previous_bitmap_ = SelectObject(memory_, bitmap_);
  BitBlt(memory_, 0, 0, width_, height_, window_dc_, 0, 0, SRCCOPY);
}

OffscreenCanvas::~OffscreenCanvas() {
  if (memory_ != nullptr) {
    BitBlt(window_dc_, 0, 0, width_, height_, memory_, 0, 0, SRCCOPY);
    SelectObject(memory_, previous_bitmap_);
    DeleteObject(bitmap_);
    DeleteDC(memory_);
  }
  if (window_dc_ != nullptr) ReleaseDC(window_, window_dc_);
}

RECT inset(RECT r, int by) {
  return RECT{r.left + by, r.top + by, r.right - by, r.bottom - by};
}

bool empty(const RECT& r) {
  return r.right <= r.left || r.bottom <= r.top;
}

void fill(HDC dc, const RECT& r, COLORREF colour) {
  if (empty(r)) return;
  GdiObject brush(CreateSolidBrush(colour));
  FillRect(dc, &r, static_cast<HBRUSH>(brush.get()));
}

void fill(HDC dc, const RECT& r, HBRUSH brush) {
  if (empty(r)) return;
  FillRect(dc, &r, brush != nullptr ? brush : GetSysColorBrush(COLOR_BTNFACE));
}

void frame(HDC dc, const RECT& r, COLORREF colour) {
  if (empty(r)) return;
  GdiObject brush(CreateSolidBrush(colour));
  FrameRect(dc, &r, static_cast<HBRUSH>(brush.get()));
}

void pixel(HDC dc, int x, int y, COLORREF colour) {
  SetPixel(dc, x, y, colour);
}

void fill_quad(HDC dc, const RECT& r, const Quad& q) {
  if (empty(r)) return;
  if (q.top_left == q.top_right && q.bottom_left == q.bottom_right) {
    std::array<TRIVERTEX, 2> v = {vertex(r.left, r.top, q.top_left),
                                  vertex(r.right, r.bottom, q.bottom_left)};
    GRADIENT_RECT mesh{0, 1};
    GradientFill(dc, v.data(), 2, &mesh, 1, GRADIENT_FILL_RECT_V);
    return;
  }
  std::array<TRIVERTEX, 4> v = {vertex(r.left, r.top, q.top_left), vertex(r.right, r.top, q.top_right),
                                vertex(r.left, r.bottom, q.bottom_left),
                                vertex(r.right, r.bottom, q.bottom_right)};
  std::array<GRADIENT_TRIANGLE, 2> mesh = {GRADIENT_TRIANGLE{0, 1, 2}, GRADIENT_TRIANGLE{3, 1, 2}};
  // The triangles' far edges are exclusive like a rectangle's: clip to r.
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
  GradientFill(dc, v.data(), 4, mesh.data(), 2, GRADIENT_FILL_TRIANGLE);
  RestoreDC(dc, saved);
}

void round_corners(HDC dc, const RECT& r, COLORREF outside, COLORREF inside) {
  if (r.right - r.left < 4 || r.bottom - r.top < 4) return;
  const int l = r.left, t = r.top, rr = r.right - 1, b = r.bottom - 1;
  pixel(dc, l, t, outside);
  pixel(dc, rr, t, outside);
  pixel(dc, l, b, outside);
  pixel(dc, rr, b, outside);
  pixel(dc, l + 1, t + 1, inside);
  pixel(dc, rr - 1, t + 1, inside);
  pixel(dc, l + 1, b - 1, inside);
  pixel(dc, rr - 1, b - 1, inside);
}

void draw_arrow(HDC dc, const RECT& r, Arrow direction, COLORREF colour) {
  // Rows of a 7-pixel-wide, 4-pixel-deep triangle, drawn as lines so nothing is antialiased.
  const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
  for (int k = 0; k < 4; ++k) {
    const int half = 3 - k;
    RECT line{};
    switch (direction) {
      case Arrow::kDown:
        line = RECT{cx - half, cy - 2 + k, cx + half + 1, cy - 1 + k};
        break;
      case Arrow::kUp:
        line = RECT{cx - half, cy + 1 - k, cx + half + 1, cy + 2 - k};
        break;
      case Arrow::kRight:
        line = RECT{cx - 2 + k, cy - half, cx - 1 + k, cy + half + 1};
        break;
      case Arrow::kLeft:
        line = RECT{cx + 1 - k, cy - half, cx + 2 - k, cy + half + 1};
        break;
    }
    fill(dc, line, colour);
  }
}

std::string window_text(HWND window) {
  const int n = GetWindowTextLengthA(window);
  if (n <= 0) return {};
  std::string text(static_cast<std::size_t>(n) + 1, '\0');
  const int got = GetWindowTextA(window, text.data(), n + 1);
  text.resize(static_cast<std::size_t>(std::clamp(got, 0, n)));
  return text;
}

HFONT window_font(HWND window) {
  auto font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
  return font != nullptr ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

RECT draw_caption(HDC dc, const std::string& text, RECT r, UINT format, COLORREF colour) {
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  RECT extent = r;
  if (text.empty()) return RECT{r.left, r.top, r.left, r.top};
  const int length = static_cast<int>(text.size());
  DrawTextA(dc, text.c_str(), length, &extent, (format & ~(DT_VCENTER | DT_BOTTOM)) | DT_CALCRECT);
  const int width = extent.right - extent.left, height = extent.bottom - extent.top;
  RECT place = r;
  if (!(format & DT_SINGLELINE)) {
    // DrawText centres only single lines; place a wrapped block by hand.
    if (format & DT_VCENTER) place.top = r.top + (r.bottom - r.top - height) / 2;
    if (format & DT_BOTTOM) place.top = r.bottom - height;
    place.bottom = place.top + height;
  }
  DrawTextA(dc, text.c_str(), length, &place, format);
  int left = r.left;
  if (format & DT_CENTER) left = r.left + (r.right - r.left - width) / 2;
  if (format & DT_RIGHT) left = r.right - width;
  int top = place.top;
  if (format & DT_SINGLELINE) {
    if (format & DT_VCENTER) top = r.top + (r.bottom - r.top - height) / 2;
    if (format & DT_BOTTOM) top = r.bottom - height;
  }
  return RECT{left, top, left + width, top + height};
}

}  // namespace libs::visualstyle
