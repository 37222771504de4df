#include "ui/picture/picture_render.h"

#include <cstring>
#include <utility>
#include <vector>

#include "platform/api/dib_info.h"
#include "platform/api/gdi.h"
#include "platform/gdi/icon_image.h"
#include "ui/picture/picture_pixels.h"

namespace lyr::picture {
namespace {

std::optional<RenderedPicture> render_icon(const DecodedPicture& p) {
  const std::size_t count = std::size_t(p.width) * p.height;
  if (p.pixels.size() < count * 4) return std::nullopt;
  std::vector<std::uint32_t> argb(count);
  std::memcpy(argb.data(), p.pixels.data(), count * 4);  // B,G,R,A bytes are 0xAARRGGBB words
  HICON icon = platform::gdi::create_icon_from_argb(argb, p.width, p.height, POINT{p.hotspot_x, p.hotspot_y},
                                                    p.kind == PictureFormat::cur);
  if (!icon) return std::nullopt;
  return RenderedPicture(nullptr, icon, p.width, p.height);
}

std::optional<RenderedPicture> render_bitmap(const DecodedPicture& p, COLORREF background) {
  const auto pixels = to_bgra_top_down(p, background);
  if (pixels.empty()) return std::nullopt;
  BITMAPINFO info = platform::top_down_dib_info(p.width, p.height);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) {
    if (bitmap) DeleteObject(bitmap);
    return std::nullopt;
  }
  std::memcpy(bits, pixels.data(), pixels.size());
  return RenderedPicture(bitmap, nullptr, p.width, p.height);
}

// A memory DC with the bitmap selected, released on every path.
class SourceDc {
 public:
  SourceDc(HDC target, HBITMAP bitmap) : dc_(CreateCompatibleDC(target)) {
    if (dc_) old_ = SelectObject(dc_, bitmap);
  }
  ~SourceDc() {
    if (!dc_) return;
    if (old_) SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  SourceDc(const SourceDc&) = delete;
  SourceDc& operator=(const SourceDc&) = delete;
  HDC get() const { return old_ && old_ != HGDI_ERROR ? dc_ : nullptr; }

 private:
  HDC dc_;
  HGDIOBJ old_ = nullptr;
};

}  // namespace

COLORREF resolve_colour(COLORREF colour) {
  return colour == kDefaultColour ? GetSysColor(COLOR_BTNFACE) : colour;
}

RenderedPicture& RenderedPicture::operator=(RenderedPicture&& other) noexcept {
  if (this != &other) {
    reset();
    bitmap_ = std::exchange(other.bitmap_, nullptr);
    icon_ = std::exchange(other.icon_, nullptr);
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
  }
  return *this;
}

void RenderedPicture::reset() {
  if (bitmap_) DeleteObject(bitmap_);
  if (icon_) DestroyIcon(icon_);
  bitmap_ = nullptr;
  icon_ = nullptr;
  width_ = height_ = 0;
}

std::optional<RenderedPicture> render_picture(const DecodedPicture& picture, COLORREF background) {
  if (picture.width <= 0 || picture.height <= 0) return std::nullopt;
  if (picture.kind == PictureFormat::ico || picture.kind == PictureFormat::cur) return render_icon(picture);
  return render_bitmap(picture, resolve_colour(background));
}

bool draw_rendered(HDC dc, const RenderedPicture& picture, const PixelRect& dest) {
  if (picture.empty() || dest.width <= 0 || dest.height <= 0) return false;
  if (picture.icon())
    return DrawIconEx(dc, dest.x, dest.y, picture.icon(), dest.width, dest.height, 0, nullptr, DI_NORMAL);
  SourceDc source(dc, picture.bitmap());
  if (!source.get()) return false;
  if (dest.width == picture.width() && dest.height == picture.height())
    return BitBlt(dc, dest.x, dest.y, dest.width, dest.height, source.get(), 0, 0, SRCCOPY);
  const int old_mode = SetStretchBltMode(dc, GetDeviceCaps(dc, BITSPIXEL) > 16 ? HALFTONE : COLORONCOLOR);
  const BOOL ok = StretchBlt(dc, dest.x, dest.y, dest.width, dest.height, source.get(), 0, 0, picture.width(),
                             picture.height(), SRCCOPY);
  if (old_mode) SetStretchBltMode(dc, old_mode);
  return ok;
}

void paint_picture_box(HDC dc, const RenderedPicture* picture, int mode, int client_width, int client_height,
                       COLORREF background) {
  HBRUSH brush = CreateSolidBrush(resolve_colour(background));
  if (brush) {
    const RECT client{0, 0, client_width, client_height};
    FillRect(dc, &client, brush);
    DeleteObject(brush);
  }
  if (!picture || picture->empty()) return;
  for (const auto& dest :
       picture_box_placement(mode, client_width, client_height, picture->width(), picture->height()))
    draw_rendered(dc, *picture, dest);
}

bool draw_animation_frame(HDC dc, std::span<const std::uint8_t> bgra, int width, int height, int mode,
                          int client_width, int client_height) {
  if (width <= 0 || height <= 0 || bgra.size() < std::size_t(width) * height * 4) return false;
  BITMAPINFO info = platform::top_down_dib_info(width, height);
  bool ok = true;
  for (const auto& dest : picture_box_placement(mode, client_width, client_height, width, height)) {
    const int old_mode = SetStretchBltMode(dc, GetDeviceCaps(dc, BITSPIXEL) > 16 ? HALFTONE : COLORONCOLOR);
    ok = StretchDIBits(dc, dest.x, dest.y, dest.width, dest.height, 0, 0, width, height, bgra.data(), &info,
                       DIB_RGB_COLORS, SRCCOPY) != 0 &&
         ok;
    if (old_mode) SetStretchBltMode(dc, old_mode);
  }
  return ok;
}

void draw_background_picture(HDC dc, const RenderedPicture& picture, int mode, int client_width,
                             int client_height) {
  for (const auto& dest :
       background_placement(mode, client_width, client_height, picture.width(), picture.height()))
    draw_rendered(dc, picture, dest);
}

}  // namespace lyr::picture
