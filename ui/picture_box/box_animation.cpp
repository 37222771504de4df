#include "ui/picture_box/box_animation.h"

#include <mutex>

#include "platform/api/gdi.h"
#include "platform/api/user.h"
#include "ui/picture/picture_render.h"

namespace ui {
namespace {

// The composer's background: B,G,R,A packed as 0xAARRGGBB, opaque.
std::uint32_t to_bgra(COLORREF colour) {
  return 0xFF000000u | (std::uint32_t{GetRValue(colour)} << 16) | (std::uint32_t{GetGValue(colour)} << 8) |
         GetBValue(colour);
}

}  // namespace

BoxAnimation::BoxAnimation(HWND box, std::shared_ptr<const lyr::picture::GifAnimation> animation,
                           COLORREF background, int mode)
    : box_(box),
      background_(lyr::picture::resolve_colour(background)),
      mode_(mode),
      canvas_width_(animation->screen_width),
      canvas_height_(animation->screen_height),
      player_(std::move(animation), to_bgra(background_),
              [this](const std::vector<std::uint8_t>& canvas, int width, int height) {
                draw_frame(canvas, width, height);
              }) {}

BoxAnimation::~BoxAnimation() {
  player_.stop();
}

void BoxAnimation::draw_frame(const std::vector<std::uint8_t>& canvas, int width, int height) {
  RECT client{};
  if (!GetClientRect(box_, &client)) return;
  HDC dc = GetDC(box_);
  if (dc == nullptr) return;
  lyr::picture::draw_animation_frame(dc, canvas, width, height, mode_, client.right, client.bottom);
  ReleaseDC(box_, dc);
}

void BoxAnimation::paint(HDC dc, int client_width, int client_height) {
  std::lock_guard lock(player_.paint_mutex());
  lyr::picture::paint_picture_box(dc, nullptr, mode_, client_width, client_height, background_);
  if (player_.frames_drawn() == 0) return;
  lyr::picture::draw_animation_frame(dc, player_.canvas(), canvas_width_, canvas_height_, mode_, client_width,
                                     client_height);
}

}  // namespace ui
