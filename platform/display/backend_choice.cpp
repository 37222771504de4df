// Picks the process's display backend once, on first use.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/display/backend.h"
#include "platform/display/headless_backend.h"
#include "platform/display/sdl_backend.h"
#include "platform/gdi/device_scale.h"
#include "platform/gdi/screen_info.h"

namespace platform::display {
namespace {

struct Choice {
  std::unique_ptr<Backend> backend;
  HeadlessBackend* headless = nullptr;
};

bool env_set(const char* name) {
  const char* v = std::getenv(name);
  return v && *v;
}

Choice choose() {
  Choice c;
  std::string wanted;
  if (const char* v = std::getenv("LYRICS_DISPLAY"); v && *v) {
    wanted = v;
    if (wanted != "sdl" && wanted != "headless") {
      std::fprintf(
          stderr,
          "display: LYRICS_DISPLAY=%s is not a display (headless or sdl); choosing by the environment\n", v);
      wanted.clear();
    }
  }
  if (wanted.empty()) wanted = env_set("DISPLAY") || env_set("WAYLAND_DISPLAY") ? "sdl" : "headless";
  if (wanted == "sdl") {
    std::string error;
    c.backend = make_sdl_backend(error);
    if (c.backend) return c;
    std::fprintf(stderr, "display: the SDL display could not start (%s); running headless instead\n",
                 error.c_str());
  }
  auto headless = std::make_unique<HeadlessBackend>();
  c.headless = headless.get();
  c.backend = std::move(headless);
  return c;
}

Choice& choice() {
  static Choice c = [] {
    Choice made = choose();
    const SIZE screen = made.backend->screen_size();
    const int q = made.backend->scale();
    gdi::set_screen_scale(q);
    gdi::set_screen_size(gdi::to_logical_size(screen.cx, q), gdi::to_logical_size(screen.cy, q));
    return made;
  }();
  return c;
}

}  // namespace

Backend& backend() {
  return *choice().backend;
}

HeadlessBackend* headless_backend() {
  return choice().headless;
}

}  // namespace platform::display
