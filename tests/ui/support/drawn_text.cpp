#include "tests/ui/support/drawn_text.h"

#include <algorithm>
#include <vector>

#include "platform/api/gdi.h"
#include "platform/winsys/headless.h"
#include "tests/platform/gdi/gdi_fixture.h"

namespace ui_test {
namespace {

struct InkPixel {
  int x;
  int y;
  COLORREF colour;
};

// The line drawn alone on its background, as the pixels that differ from it, relative to the
// top-left corner of their bounding box.
std::vector<InkPixel> line_ink(std::string_view ansi, const TextLook& look) {
  gdi_test::Surface surface(1024, 128, look.background);
  HGDIOBJ old_font = SelectObject(surface.dc(), look.font);
  SetBkMode(surface.dc(), TRANSPARENT);
  SetTextColor(surface.dc(), look.text);
  RECT at{16, 16, surface.width(), surface.height()};
  DrawTextA(surface.dc(), ansi.data(), static_cast<int>(ansi.size()), &at, DT_SINGLELINE | DT_NOCLIP);
  SelectObject(surface.dc(), old_font);

  const RECT box = surface.Ink(look.background);
  std::vector<InkPixel> ink;
  for (int y = box.top; y < box.bottom; ++y) {
    for (int x = box.left; x < box.right; ++x) {
      const COLORREF c = surface.At(x, y);
      if (c != look.background) ink.push_back({x - box.left, y - box.top, c});
    }
  }
  return ink;
}

}  // namespace

std::optional<POINT> find_text_line(HWND hwnd, const RECT& area, std::string_view ansi,
                                    const TextLook& look) {
  const std::vector<InkPixel> ink = line_ink(ansi, look);
  if (ink.empty()) return std::nullopt;
  int ink_width = 0, ink_height = 0;
  for (const InkPixel& p : ink) {
    ink_width = std::max(ink_width, p.x + 1);
    ink_height = std::max(ink_height, p.y + 1);
  }
  const int width = area.right - area.left, height = area.bottom - area.top;
  std::vector<COLORREF> shown(static_cast<std::size_t>(std::max(0, width * height)));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      shown[static_cast<std::size_t>(y) * width + x] =
          platform::headless::read_pixel(hwnd, area.left + x, area.top + y);
    }
  }
  for (int y = 0; y + ink_height <= height; ++y) {
    for (int x = 0; x + ink_width <= width; ++x) {
      bool whole = true;
      for (const InkPixel& p : ink) {
        if (shown[static_cast<std::size_t>(y + p.y) * width + x + p.x] != p.colour) {
          whole = false;
          break;
        }
      }
      if (whole) return POINT{area.left + x, area.top + y};
    }
  }
  return std::nullopt;
}

}  // namespace ui_test
