// The desktop's scale: the first of LYRICS_SCALE (1 to 4), the X screen's Xft.dpi / 96,
// GDK_SCALE and the Wayland output's scale that is set and makes sense, else 1; always rounded
// to a quarter. Values that are not numbers, or lie outside 1 to 4 (Xft.dpi 96 to 384), are
// passed over with a line on stderr, so a typo falls through to the next source.
#pragma once

#include <optional>
#include <string>

namespace platform::display {

struct ScaleSources {
  const char* lyrics_scale = nullptr;  // the environment's LYRICS_SCALE
  const char* xft_dpi = nullptr;       // the X resource Xft.dpi
  const char* gdk_scale = nullptr;     // the environment's GDK_SCALE
  std::optional<double> wayland_scale;
};

struct DesktopScale {
  int quarters = 4;
  std::string source = "default";  // which source decided
};

DesktopScale choose_scale(const ScaleSources& sources);

}  // namespace platform::display
