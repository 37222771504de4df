// Reading an icon's pixels back (for the SDL colour cursors).
#include <vector>

#include "platform/api/dib_info.h"
#include "platform/api/gdi.h"
#include "platform/winsys/cursor_handles.h"

namespace platform::winsys::cursors {
namespace {

// 32-bit top-down rows of `bitmap`; empty on failure.
std::vector<std::uint32_t> read_bitmap(HDC dc, HBITMAP bitmap, int width, int height) {
  BITMAPINFO info = top_down_dib_info(width, height);
  std::vector<std::uint32_t> px(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  if (GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), px.data(), &info, DIB_RGB_COLORS) != height)
    return {};
  return px;
}

}  // namespace

bool icon_pixels(HICON icon, ArgbImage& out) {
  if (!icon) return false;
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return false;
  BITMAP bm{};
  bool ok = false;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP sized = info.hbmColor ? info.hbmColor : info.hbmMask;
  if (dc && sized && GetObjectA(sized, sizeof bm, &bm) == sizeof bm && bm.bmWidth > 0 && bm.bmHeight > 0) {
    int w = bm.bmWidth;
    // A monochrome cursor's mask holds the AND and the XOR halves on top of each other.
    int h = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
    std::vector<std::uint32_t> mask = info.hbmMask
                                          ? read_bitmap(dc, info.hbmMask, w, info.hbmColor ? h : 2 * h)
                                          : std::vector<std::uint32_t>{};
    std::vector<std::uint32_t> color =
        info.hbmColor ? read_bitmap(dc, info.hbmColor, w, h) : std::vector<std::uint32_t>{};
    std::size_t n = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
    if (color.size() == n || mask.size() >= n) {
      out.width = w;
      out.height = h;
      out.hotspot = {static_cast<LONG>(info.xHotspot), static_cast<LONG>(info.yHotspot)};
      out.pixels.assign(n, 0);
      bool has_alpha = false;
      for (std::uint32_t p : color) has_alpha = has_alpha || (p >> 24) != 0;
      for (std::size_t i = 0; i < n; ++i) {
        bool transparent = mask.size() >= n && (mask[i] & 0xFFFFFF) != 0;
        if (color.size() == n) {
          std::uint32_t p = color[i];
          out.pixels[i] = has_alpha ? p : (transparent ? 0 : (p | 0xFF000000u));
        } else {
          // Monochrome: AND bit set and XOR bit clear is transparent; the rest black or white.
          bool x = (mask[n + i] & 0xFFFFFF) != 0;
          out.pixels[i] = transparent ? (x ? 0xFF000000u : 0) : (x ? 0xFFFFFFFFu : 0xFF000000u);
        }
      }
      ok = true;
    }
  }
  if (dc) DeleteDC(dc);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  return ok;
}

}  // namespace platform::winsys::cursors
