#include "tests/app/support/finder_runtime.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "app/program_image.h"
#include "runtime/window_system.h"
#include "ui/system/window_system_table.h"

namespace app_test {

FinderRuntime::FinderRuntime() {
  // A runtime error answers at once on stderr instead of waiting for a click.
  setenv("LYRICS_MESSAGEBOX", "default", 1);
  ui::install_window_system();
  // What the finder's entry routine does before it loads its window.
  host_ =
      std::make_unique<runtime::HostApplication>(app::program_image(), [](const runtime::ServiceTable& s) {
        app::bind_services(s);
        s.numbered(runtime::kStartup, 0, 0, 0, 0, 0, 0);
        return 0;
      });
  started_ = host_->initialise() == 0;
}

FinderRuntime::~FinderRuntime() {
  host_->exit();
  host_.reset();
  runtime::install_window_system(nullptr);
}

app::Bytes FinderRuntime::byte_set(std::string_view bytes) {
  auto* block = static_cast<std::uint8_t*>(app::services().allocate(8 + bytes.size()));
  const std::uint32_t header[2] = {1, static_cast<std::uint32_t>(bytes.size())};
  std::memcpy(block, header, sizeof header);
  std::memcpy(block + 8, bytes.data(), bytes.size());
  return app::Bytes(block);
}

std::string FinderRuntime::bytes_of(const app::Bytes& bytes) {
  const std::uint8_t* block = bytes.get();
  if (block == nullptr) return "";
  std::uint32_t n = 0;
  std::memcpy(&n, block + 4, sizeof n);
  return std::string(reinterpret_cast<const char*>(block) + 8, n);
}

}  // namespace app_test
