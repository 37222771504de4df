// The icon of a window unit, made from the icon property's bytes.
// Contract: icon and cursor files give their chosen entry as the icon; any other picture the
// picture decoder reads becomes an opaque icon of its pixels; empty or unreadable bytes give
// no icon (handle() null). The object owns the icon and destroys it once.
#pragma once

#include <cstdint>
#include <span>

#include "platform/api/types.h"
#include "ui/picture/picture_render.h"

namespace ui {

class WindowIcon {
 public:
  WindowIcon() = default;
  explicit WindowIcon(std::span<const std::uint8_t> bytes);
  ~WindowIcon();
  WindowIcon(WindowIcon&& other) noexcept;
  WindowIcon& operator=(WindowIcon&& other) noexcept;
  WindowIcon(const WindowIcon&) = delete;
  WindowIcon& operator=(const WindowIcon&) = delete;

  HICON handle() const { return made_ != nullptr ? made_ : rendered_.icon(); }

 private:
  void release();

  lyr::picture::RenderedPicture rendered_;
  HICON made_ = nullptr;
};

}  // namespace ui
