#include "launcher/program_icon.h"

#include <cstddef>
#include <cstdio>
#include <span>

#include "platform/winsys/resources.h"

// An .ico file of PNG images, generated at build time (packaging/embed_icon.cmake).
extern const unsigned char kProgramIconFile[];
extern const std::size_t kProgramIconFileSize;

namespace launcher {

void add_program_icon() {
  if (kProgramIconFileSize == 0) return;
  namespace res = platform::winsys::resources;
  if (!res::add_file(res::Type::icon, "DEFAULT_ICON", std::span(kProgramIconFile, kProgramIconFileSize)))
    std::fputs("lyrics-finder: the built-in icon is damaged and is not used\n", stderr);
}

}  // namespace launcher
