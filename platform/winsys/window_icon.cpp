#include "platform/winsys/window_icon.h"

#include "platform/api/input.h"
#include "platform/api/kernel.h"
#include "platform/api/user.h"
#include "platform/gdi/icon_image.h"

namespace platform::winsys {

bool window_icon(HWND top, display::CursorImage& out) {
  constexpr int kSize = 128;  // task bars scale it down; larger only adds to the X property
  HICON icon = reinterpret_cast<HICON>(GetClassLongPtrA(top, GCLP_HICON));
  HICON loaded = nullptr;
  if (!icon)
    icon = loaded = static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), "DEFAULT_ICON", IMAGE_ICON, kSize, kSize, LR_DEFAULTCOLOR));
  gdi::IconPixels pixels;
  bool ok = icon && gdi::icon_pixels(icon, false, pixels);
  if (loaded) DestroyIcon(loaded);
  if (!ok) return false;
  out.width = pixels.width;
  out.height = pixels.height;
  out.hotspot = {0, 0};
  out.pixels = std::move(pixels.argb);
  return true;
}

}  // namespace platform::winsys
