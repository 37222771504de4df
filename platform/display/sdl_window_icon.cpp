#include "platform/display/sdl_window_icon.h"

#include <memory>

#include "platform/display/input_sink.h"

namespace platform::display::sdl {

void set_window_icon(SDL_Window* window, HWND top) {
  CursorImage icon;
  if (!window || !input_sink().window_icon(top, icon) || icon.width <= 0 || icon.height <= 0 ||
      icon.pixels.size() != static_cast<std::size_t>(icon.width) * static_cast<std::size_t>(icon.height))
    return;
  struct SurfaceDeleter {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
  };
  // Straight ARGB words, as SDL and _NET_WM_ICON take them; SDL copies the pixels.
  std::unique_ptr<SDL_Surface, SurfaceDeleter> surface(SDL_CreateRGBSurfaceWithFormatFrom(
      icon.pixels.data(), icon.width, icon.height, 32, icon.width * 4, SDL_PIXELFORMAT_ARGB8888));
  if (surface) SDL_SetWindowIcon(window, surface.get());
}

}  // namespace platform::display::sdl
