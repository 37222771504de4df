#include "platform/winsys/cursor_handles.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <vector>

#include "platform/api/gdi.h"

namespace platform::winsys::cursors {
namespace {

struct Shared {
  std::mutex mutex;
  std::map<WORD, HCURSOR> cursors;
  std::map<WORD, HICON> icons;
};

Shared& shared() {
  static Shared s;
  return s;
}

template <typename Draw>
HICON shared_handle(std::map<WORD, HICON>& cache, WORD id, bool cursor, Draw draw) {
  auto it = cache.find(id);
  if (it != cache.end() && is_icon(it->second)) return it->second;
  ArgbImage img = draw(id);
  if (img.width == 0) return nullptr;
  HICON h = make_icon(img, cursor);
  if (h) cache[id] = h;
  return h;
}

}  // namespace

HICON make_icon(const ArgbImage& image, bool cursor) {
  if (image.width <= 0 || image.height <= 0) return nullptr;
  // Bitmaps take straight (not premultiplied) alpha, as icon files store it.
  std::vector<std::uint32_t> straight(image.pixels.size());
  for (std::size_t i = 0; i < image.pixels.size(); ++i) {
    std::uint32_t p = image.pixels[i];
    std::uint32_t a = p >> 24;
    if (a == 0) {
      straight[i] = 0;
      continue;
    }
    auto un = [&](int shift) {
      return std::min<std::uint32_t>(255, (((p >> shift) & 0xFF) * 255 + a / 2) / a);
    };
    straight[i] = a << 24 | un(16) << 16 | un(8) << 8 | un(0);
  }
  HBITMAP color = CreateBitmap(image.width, image.height, 1, 32, straight.data());
  // The mask: set where the image is transparent, one bit per pixel, rows padded to 16 bits.
  int row_bytes = ((image.width + 15) / 16) * 2;
  std::vector<BYTE> mask(static_cast<std::size_t>(row_bytes) * static_cast<std::size_t>(image.height), 0);
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x)
      if ((image.pixels[static_cast<std::size_t>(y * image.width + x)] >> 24) == 0)
        mask[static_cast<std::size_t>(y * row_bytes + x / 8)] |= static_cast<BYTE>(0x80 >> (x % 8));
  HBITMAP mono = CreateBitmap(image.width, image.height, 1, 1, mask.data());
  HICON icon = nullptr;
  if (color && mono) {
    ICONINFO info{cursor ? FALSE : TRUE, static_cast<DWORD>(image.hotspot.x),
                  static_cast<DWORD>(image.hotspot.y), mono, color};
    icon = CreateIconIndirect(&info);
  }
  if (color) DeleteObject(color);
  if (mono) DeleteObject(mono);
  return icon;
}

bool is_icon(HICON icon) {
  if (!icon) return false;
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return false;
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  return true;
}

HCURSOR system_cursor(WORD id) {
  if (id == 32640) id = 32646;  // the old size cursor is the size-all cursor
  Shared& s = shared();
  std::lock_guard lock(s.mutex);
  return shared_handle(s.cursors, id, true, [](WORD i) { return draw_system_cursor(i); });
}

HICON system_icon(WORD id) {
  Shared& s = shared();
  std::lock_guard lock(s.mutex);
  return shared_handle(s.icons, id, false, [](WORD i) { return draw_system_icon(i, 32); });
}

WORD system_cursor_id(HCURSOR cursor) {
  if (!cursor) return 0;
  Shared& s = shared();
  std::lock_guard lock(s.mutex);
  for (const auto& [id, h] : s.cursors)
    if (h == cursor) return id;
  return 0;
}

}  // namespace platform::winsys::cursors
