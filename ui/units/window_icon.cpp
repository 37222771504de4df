#include "ui/units/window_icon.h"

#include <utility>

#include "platform/api/gdi.h"
#include "ui/picture/codecs/codec.h"

namespace ui {

WindowIcon::WindowIcon(std::span<const std::uint8_t> bytes) {
  if (bytes.empty()) return;
  auto decoded = lyr::picture::decode_picture(bytes);
  if (!decoded) return;
  auto rendered = lyr::picture::render_picture(decoded.value(), lyr::picture::kDefaultColour);
  if (!rendered) return;
  rendered_ = std::move(*rendered);
  if (rendered_.icon() != nullptr || rendered_.bitmap() == nullptr) return;
  // A plain picture: an all-zero mask keeps every pixel of the colour bitmap.
  HBITMAP mask = CreateBitmap(rendered_.width(), rendered_.height(), 1, 1, nullptr);
  if (mask == nullptr) return;
  ICONINFO info{TRUE, 0, 0, mask, rendered_.bitmap()};
  made_ = CreateIconIndirect(&info);
  DeleteObject(mask);
}

WindowIcon::~WindowIcon() {
  release();
}

WindowIcon::WindowIcon(WindowIcon&& other) noexcept
    : rendered_(std::move(other.rendered_)), made_(std::exchange(other.made_, nullptr)) {}

WindowIcon& WindowIcon::operator=(WindowIcon&& other) noexcept {
  if (this != &other) {
    release();
    rendered_ = std::move(other.rendered_);
    made_ = std::exchange(other.made_, nullptr);
  }
  return *this;
}

void WindowIcon::release() {
  if (made_ != nullptr) DestroyIcon(made_);
  made_ = nullptr;
  rendered_.reset();
}

}  // namespace ui
