// The SDL display: every visible top-level window is a real SDL window.
// Contract: make_sdl_backend initialises SDL video on the calling thread, which becomes the only
// thread that makes SDL calls; on failure it answers nullptr and says why in `error`.
#pragma once

#include <memory>
#include <string>

#include "platform/display/backend.h"

namespace platform::display {

std::unique_ptr<Backend> make_sdl_backend(std::string& error);

}  // namespace platform::display
