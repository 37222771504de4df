#include "platform/display/desktop_scale.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/gdi/device_scale.h"

namespace platform::display {
namespace {

// The whole text as a number, or nothing.
std::optional<double> number(const char* text) {
  if (!text || !*text) return std::nullopt;
  char* end = nullptr;
  const double v = std::strtod(text, &end);
  while (end && (*end == ' ' || *end == '\t' || *end == '\n')) ++end;
  if (!end || *end || !std::isfinite(v)) return std::nullopt;
  return v;
}

bool usable(std::optional<double> factor, const char* name, const char* text) {
  if (factor && *factor >= 1.0 && *factor <= 4.0) return true;
  if (text && *text) std::fprintf(stderr, "display: %s=%s is not a scale from 1 to 4; ignored\n", name, text);
  return false;
}

}  // namespace

DesktopScale choose_scale(const ScaleSources& s) {
  if (auto v = number(s.lyrics_scale); usable(v, "LYRICS_SCALE", s.lyrics_scale))
    return {gdi::scale_quarters(*v), "LYRICS_SCALE"};
  if (auto dpi = number(s.xft_dpi)) {
    const std::optional<double> v = *dpi / 96.0;
    if (usable(v, "Xft.dpi/96", s.xft_dpi)) return {gdi::scale_quarters(*v), "Xft.dpi"};
  } else if (s.xft_dpi && *s.xft_dpi) {
    usable(std::nullopt, "Xft.dpi", s.xft_dpi);
  }
  if (auto v = number(s.gdk_scale); usable(v, "GDK_SCALE", s.gdk_scale))
    return {gdi::scale_quarters(*v), "GDK_SCALE"};
  if (s.wayland_scale && *s.wayland_scale >= 1.0 && *s.wayland_scale <= 4.0)
    return {gdi::scale_quarters(*s.wayland_scale), "Wayland output"};
  return {};
}

}  // namespace platform::display
