#include "ui/picture/display_geometry.h"

#include <algorithm>
#include <cstdint>

namespace lyr::picture {
namespace {

bool usable(int cw, int ch, int pw, int ph) {
  return cw > 0 && ch > 0 && pw > 0 && ph > 0;
}

int scaled(int value, std::int64_t num, std::int64_t den) {
  return static_cast<int>((std::int64_t{value} * num + den / 2) / den);
}

}  // namespace

PixelRect centred_fit(int cw, int ch, int pw, int ph) {
  int w = pw, h = ph;
  if (pw > cw || ph > ch) {
    // The smaller of the two ratios wins; compare cw/pw with ch/ph without division.
    if (std::int64_t{cw} * ph <= std::int64_t{ch} * pw) {
      w = cw;
      h = std::max(1, scaled(ph, cw, pw));
    } else {
      h = ch;
      w = std::max(1, scaled(pw, ch, ph));
    }
  }
  return PixelRect{(cw - w) / 2, (ch - h) / 2, w, h};
}

std::vector<PixelRect> picture_box_placement(int mode, int cw, int ch, int pw, int ph) {
  if (!usable(cw, ch, pw, ph)) return {};
  switch (static_cast<BoxMode>(mode)) {
    case BoxMode::stretched:
      return {PixelRect{0, 0, cw, ch}};
    case BoxMode::centred_fit:
      return {centred_fit(cw, ch, pw, ph)};
    case BoxMode::natural:
    case BoxMode::box_fits_picture:
      break;
  }
  return {PixelRect{0, 0, pw, ph}};
}

std::vector<PixelRect> background_placement(int mode, int cw, int ch, int pw, int ph) {
  if (!usable(cw, ch, pw, ph)) return {};
  switch (static_cast<BackgroundMode>(mode)) {
    case BackgroundMode::tiled: {
      std::vector<PixelRect> tiles;
      for (int y = 0; y < ch; y += ph)
        for (int x = 0; x < cw; x += pw) tiles.push_back(PixelRect{x, y, pw, ph});
      return tiles;
    }
    case BackgroundMode::centred_fit:
      return {centred_fit(cw, ch, pw, ph)};
    case BackgroundMode::natural:
      break;
  }
  return {PixelRect{0, 0, pw, ph}};
}

PixelRect clip_to_client(const PixelRect& r, int cw, int ch) {
  const int x0 = std::clamp(r.x, 0, std::max(cw, 0));
  const int y0 = std::clamp(r.y, 0, std::max(ch, 0));
  const int x1 = std::clamp(r.x + r.width, x0, std::max(cw, x0));
  const int y1 = std::clamp(r.y + r.height, y0, std::max(ch, y0));
  return PixelRect{x0, y0, x1 - x0, y1 - y0};
}

}  // namespace lyr::picture
