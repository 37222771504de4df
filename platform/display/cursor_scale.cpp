#include "platform/display/cursor_scale.h"

#include <algorithm>
#include <memory>

#include "platform/gdi/device_scale.h"

namespace platform::display {
namespace {

std::uint32_t premultiplied(std::uint32_t v) {
  const std::uint32_t a = v >> 24;
  auto ch = [a](std::uint32_t c) { return (c * a + 127) / 255; };
  return (a << 24) | (ch((v >> 16) & 0xFF) << 16) | (ch((v >> 8) & 0xFF) << 8) | ch(v & 0xFF);
}

std::uint32_t straight(std::uint32_t v) {
  const std::uint32_t a = v >> 24;
  auto ch = [a](std::uint32_t c) { return a ? std::min<std::uint32_t>(255, (c * 255 + a / 2) / a) : 0; };
  return (a << 24) | (ch((v >> 16) & 0xFF) << 16) | (ch((v >> 8) & 0xFF) << 8) | ch(v & 0xFF);
}

}  // namespace

CursorImage scaled_cursor(const CursorImage& image, int q) {
  const std::size_t count = static_cast<std::size_t>(image.width) * image.height;
  if (q == gdi::kUnitScale || image.width <= 0 || image.height <= 0 || image.pixels.size() != count)
    return image;
  std::vector<std::uint32_t> src(count);
  std::transform(image.pixels.begin(), image.pixels.end(), src.begin(), premultiplied);
  CursorImage out;
  out.width = static_cast<int>(gdi::to_device(image.width, q));
  out.height = static_cast<int>(gdi::to_device(image.height, q));
  out.hotspot = POINT{static_cast<LONG>(gdi::to_device(image.hotspot.x, q)),
                      static_cast<LONG>(gdi::to_device(image.hotspot.y, q))};
  out.pixels.assign(static_cast<std::size_t>(out.width) * out.height, 0);
  gdi::SurfacePtr from(cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(src.data()),
                                                           CAIRO_FORMAT_ARGB32, image.width, image.height,
                                                           image.width * 4));
  gdi::SurfacePtr to(cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(out.pixels.data()),
                                                         CAIRO_FORMAT_ARGB32, out.width, out.height,
                                                         out.width * 4));
  {
    gdi::CairoPtr cr(cairo_create(to.get()));
    cairo_scale(cr.get(), static_cast<double>(out.width) / image.width,
                static_cast<double>(out.height) / image.height);
    cairo_set_source_surface(cr.get(), from.get(), 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr.get()), CAIRO_FILTER_GOOD);
    cairo_set_operator(cr.get(), CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr.get());
  }
  cairo_surface_flush(to.get());
  std::transform(out.pixels.begin(), out.pixels.end(), out.pixels.begin(), straight);
  return out;
}

}  // namespace platform::display
