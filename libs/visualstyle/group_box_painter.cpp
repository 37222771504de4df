// Group boxes: a caption band and a 2-pixel border in the record's brush, a 1-pixel frame with
// rounded corners hanging from the middle of the caption, and the caption in the record's text
// colour.
#include "libs/visualstyle/painters.h"
#include "platform/api/controls.h"

namespace libs::visualstyle {
namespace {

// Measured for the frame's height when there is no caption.
constexpr char kSampleText[] = "Ay";
constexpr int kCaptionIndent = 10;
constexpr int kCaptionPadding = 2;

int text_height(HDC dc, const std::string& text) {
  SIZE size{};
  const std::string& measured = text.empty() ? std::string(kSampleText) : text;
  GetTextExtentPoint32A(dc, measured.c_str(), static_cast<int>(measured.size()), &size);
  return size.cy;
}

COLORREF brush_colour(HBRUSH brush) {
  LOGBRUSH lb{};
  if (brush != nullptr && GetObjectA(brush, sizeof lb, &lb) == sizeof lb) return lb.lbColor;
  return button_face();
}

}  // namespace

void paint_group_box(const PaintContext& c) {
  Selection font(c.dc, window_font(c.window));
  const std::string caption = window_text(c.window);
  const RECT& b = c.bounds;
  const int band = text_height(c.dc, caption);

  fill(c.dc, RECT{b.left, b.top, b.right, b.top + band}, c.record.brush);
  fill(c.dc, RECT{b.left, b.top, b.left + 2, b.bottom}, c.record.brush);
  fill(c.dc, RECT{b.right - 2, b.top, b.right, b.bottom}, c.record.brush);
  fill(c.dc, RECT{b.left, b.bottom - 2, b.right, b.bottom}, c.record.brush);

  const RECT box{b.left, b.top + band / 2, b.right, b.bottom};
  frame(c.dc, box, kGroupFrameColour);
  round_corners(c.dc, box, brush_colour(c.record.brush), kGroupFrameColour);
  if (caption.empty()) return;

  SIZE size{};
  GetTextExtentPoint32A(c.dc, caption.c_str(), static_cast<int>(caption.size()), &size);
  const auto style = static_cast<DWORD>(GetWindowLongA(c.window, GWL_STYLE));
  int left = b.left + kCaptionIndent;
  if ((style & BS_CENTER) == BS_CENTER)
    left = b.left + (b.right - b.left - size.cx) / 2;
  else if ((style & BS_CENTER) == BS_RIGHT)
    left = b.right - kCaptionIndent - size.cx;
  const RECT text{left, b.top, left + size.cx, b.top + band};
  fill(c.dc, RECT{text.left - kCaptionPadding, text.top, text.right + kCaptionPadding, text.bottom},
       c.record.brush);
  const COLORREF colour = (c.record.flags & flag::kDisabled) ? kGreyText : c.record.text_colour;
  draw_caption(c.dc, caption, text, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOCLIP, colour);
}

}  // namespace libs::visualstyle
