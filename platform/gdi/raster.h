// Raster operations for blits: source images in the destination's colour model, scaling, and
// the ternary raster operations applied pixel by pixel.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/dc.h"

namespace platform::gdi {

// Pixels 0x00RRGGBB (alpha in the top byte when asked for), top row first; `valid` marks
// pixels that came from inside the source surface.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> px;
  std::vector<std::uint8_t> valid;
  bool all_valid = true;
  bool has_alpha = false;  // premultiplied alpha in the top byte
};

// Reads a logical rectangle of a DC (flushes it first); a scaled window surface gives one
// device pixel per logical pixel.
Image read_image(Dc& src, int x, int y, int w, int h, bool keep_alpha);
// Reads a rectangle of device pixels of a DC's surface, unclipped.
Image read_device_image(Dc& src, const RECT& device_rect);
// Applies the platform's monochrome conversion rules between source and destination.
void to_destination_model(Image& img, bool src_mono, COLORREF src_bk, const Dc& dst);
// Scales to dw x dh (positive), mirrored when asked, smooth (area-filtered) or nearest, and
// returns only `window` (a part of the dw x dh result).
Image scale_image(const Image& img, int dw, int dh, bool mirror_x, bool mirror_y, bool smooth,
                  const RECT& window);

// The part of the destination rectangle (x, y, w, h: logical, positive size) that the clip lets
// through, relative to the rectangle's top-left; empty when nothing shows.
RECT visible_part(const Dc& dst, int x, int y, int w, int h);

inline bool rop_uses_source(DWORD rop) {
  return (((rop >> 2) ^ rop) & 0x330000) != 0;
}
inline bool rop_uses_pattern(DWORD rop) {
  return (((rop >> 4) ^ rop) & 0x0F0000) != 0;
}

// Scales an image to w x h with a smoothing filter, carrying which pixels are valid.
Image resample(const Image& img, int w, int h);
// Applies `rop` over the destination rectangle (logical x, y, size of src or w x h). On a
// scaled surface the rectangle covers its device pixels and `src` is enlarged to fit them.
void apply_rop(Canvas& dst, int x, int y, int w, int h, const Image* src, DWORD rop);
// The same over a rectangle of device pixels; `src` is resampled when its size differs.
void apply_rop_device(Canvas& dst, const RECT& device_area, const Image* src, DWORD rop);

}  // namespace platform::gdi
