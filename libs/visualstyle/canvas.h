// Drawing tools of the painters: owned GDI objects, an off-screen canvas over a whole window,
// and the small drawing steps every painter shares (solid and gradient fills, frames, rounded
// corners, captions).
// Contract: OffscreenCanvas starts as a copy of what the window shows (so a painter that draws
// only a frame keeps the control's own drawing) and copies itself back in one blit when it
// goes, so the window never shows a half-painted control. Coordinates are the window's
// (0, 0 at its top-left corner, non-client area included).
#pragma once

#include <string>

#include "libs/visualstyle/palette.h"
#include "platform/api/gdi.h"
#include "platform/api/user.h"

namespace libs::visualstyle {

class GdiObject {
 public:
  explicit GdiObject(HGDIOBJ object) : object_(object) {}
  ~GdiObject() {
    if (object_ != nullptr) DeleteObject(object_);
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  HGDIOBJ get() const { return object_; }

 private:
  HGDIOBJ object_;
};

class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object)
      : dc_(dc), previous_(object != nullptr ? SelectObject(dc, object) : nullptr) {}
  ~Selection() {
    if (previous_ != nullptr) SelectObject(dc_, previous_);
  }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

class OffscreenCanvas {
 public:
  explicit OffscreenCanvas(HWND window);
  ~OffscreenCanvas();
  OffscreenCanvas(const OffscreenCanvas&) = delete;
  OffscreenCanvas& operator=(const OffscreenCanvas&) = delete;

  // Null when the window can't be drawn (gone, empty).
  HDC dc() const { return memory_; }
  RECT bounds() const { return RECT{0, 0, width_, height_}; }

 private:
  HWND window_;
  HDC window_dc_ = nullptr;
  HDC memory_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_bitmap_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

RECT inset(RECT r, int by);
bool empty(const RECT& r);
void fill(HDC dc, const RECT& r, COLORREF colour);
void fill(HDC dc, const RECT& r, HBRUSH brush);
void frame(HDC dc, const RECT& r, COLORREF colour);
void pixel(HDC dc, int x, int y, COLORREF colour);
// A vertical gradient when each row is one colour, otherwise two triangles.
void fill_quad(HDC dc, const RECT& r, const Quad& quad);
// Rounds the four corners of a 1-pixel frame `r`: the corner pixel takes `outside`, the pixel
// diagonally inside it `inside`.
void round_corners(HDC dc, const RECT& r, COLORREF outside, COLORREF inside);
// A small filled triangle pointing up, down, left or right, centred in `r`.
enum class Arrow { kUp, kDown, kLeft, kRight };
void draw_arrow(HDC dc, const RECT& r, Arrow direction, COLORREF colour);

std::string window_text(HWND window);
HFONT window_font(HWND window);
// Draws `text` transparently in `colour`, laid out by DT_* `format`; a multi-line (word-broken)
// text is centred vertically by hand when DT_VCENTER is asked for. Returns the text's extent.
RECT draw_caption(HDC dc, const std::string& text, RECT r, UINT format, COLORREF colour);

}  // namespace libs::visualstyle
