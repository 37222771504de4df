#include "tests/ui/support/ui_host.h"

#include <cstdlib>

#include "platform/winsys/headless.h"
#include "runtime/abi/service_table.h"
#include "runtime/window_system.h"
#include "ui/core/core_library.h"
#include "ui/system/window_system_table.h"
#include "ui/templates/window_collection.h"

namespace ui_test {

UiHost::UiHost(std::vector<std::uint8_t> templates, const runtime::CodeBase* code_base,
               std::vector<runtime::LibraryRecord> extra_libraries)
    : templates_(std::move(templates)) {
  ui::templates::window_collection().clear();
  setenv("LYRICS_MESSAGEBOX", "default", 1);
  image_.add_library_record(ui::core_library_record());
  for (const runtime::LibraryRecord& r : extra_libraries) image_.add_library_record(r);
  image_.set_templates(templates_.empty() ? nullptr : templates_.data(),
                       static_cast<std::uint32_t>(templates_.size()));
  image_.set_code_base(code_base);
  ui::install_window_system();
  host_ = std::make_unique<runtime::HostApplication>(image_.header(), [](const runtime::ServiceTable& s) {
    s.numbered(runtime::kStartup, 0, 0, 0, 0, 0, 0);
    return 0;
  });
  host_->initialise();
}

UiHost::~UiHost() {
  host_->exit();
  host_.reset();
  runtime::install_window_system(nullptr);
  // The collection outlives hosts; the next test must not see this one's windows.
  ui::templates::window_collection().clear();
  platform::headless::reset_input();
}

void pump() {
  platform::headless::run_until_idle([](MSG& m) {
    const runtime::WindowSystem& ws = runtime::window_system();
    return ws.pre_translate != nullptr && ws.pre_translate(&m);
  });
}

}  // namespace ui_test
