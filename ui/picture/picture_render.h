// Rendering a decoded picture into a device bitmap (or an icon handle), and drawing it.
// Contract: render_picture turns any decoded picture into a 32-bit top-down DIB section
// (pictures with alpha blended over the background, the still GIF's transparent colour
// painted in it) or, for icons and cursors, into an icon handle made from the entry's pixels;
// it returns nothing when the record is malformed or the platform refuses. The background
// 0xFF000000 means the default colour, COLOR_BTNFACE. RenderedPicture owns its handle and
// releases it once. draw_* take any device context; stretching uses HALFTONE when the
// context has more than 16 bits per pixel and COLORONCOLOR otherwise.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "platform/api/types.h"
#include "ui/picture/codecs/decoded_picture.h"
#include "ui/picture/display_geometry.h"

namespace lyr::picture {

inline constexpr COLORREF kDefaultColour = 0xFF000000;

// The colour to paint: the value itself, or the button face for the default colour.
COLORREF resolve_colour(COLORREF colour);

class RenderedPicture {
 public:
  RenderedPicture() = default;
  RenderedPicture(HBITMAP bitmap, HICON icon, int width, int height)
      : bitmap_(bitmap), icon_(icon), width_(width), height_(height) {}
  ~RenderedPicture() { reset(); }
  RenderedPicture(RenderedPicture&& other) noexcept { *this = std::move(other); }
  RenderedPicture& operator=(RenderedPicture&& other) noexcept;
  RenderedPicture(const RenderedPicture&) = delete;
  RenderedPicture& operator=(const RenderedPicture&) = delete;

  HBITMAP bitmap() const { return bitmap_; }
  HICON icon() const { return icon_; }
  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return !bitmap_ && !icon_; }
  void reset();

 private:
  HBITMAP bitmap_ = nullptr;
  HICON icon_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

std::optional<RenderedPicture> render_picture(const DecodedPicture& picture, COLORREF background);

// Draws the picture into dest (scaled when dest's size differs from the picture's).
bool draw_rendered(HDC dc, const RenderedPicture& picture, const PixelRect& dest);

// The picture box's painting: the client area filled with the background, then the picture
// placed by the display mode (nothing but the background without a picture).
void paint_picture_box(HDC dc, const RenderedPicture* picture, int mode, int client_width, int client_height,
                       COLORREF background);

// A frame of the GIF player (width x height B,G,R,A pixels, top-down) placed by the picture
// box's display mode; only the picture's rectangle is touched.
bool draw_animation_frame(HDC dc, std::span<const std::uint8_t> bgra, int width, int height, int mode,
                          int client_width, int client_height);

// Window and label background pictures: 0 top-left, 1 tiled, 2 centred and fit.
void draw_background_picture(HDC dc, const RenderedPicture& picture, int mode, int client_width,
                             int client_height);

}  // namespace lyr::picture
