#include "runtime/host_app.h"

#include "runtime/end_sequence.h"
#include "runtime/program_path.h"
#include "runtime/service_table.h"
#include "runtime/window_system.h"

namespace runtime {

HostApplication::HostApplication(const ImageHeader& image, EntryRoutine entry)
    : installation_(state_), entry_(entry) {
  state_.image = &image;
  state_.host = this;
}

HostApplication::~HostApplication() = default;

int HostApplication::run() {
  int result = initialise();
  // The entry routine answers 0, so the framework's own loop never runs: exit follows at once.
  (void)result;
  return exit();
}

int HostApplication::initialise() {
  ProgramPath path = split_program_path(program_module_path());
  state_.program_directory_with_separator = path.directory + "\\";
  if (entry_ == nullptr) return 0;
  return entry_(service_table());
}

int HostApplication::exit() {
  run_end_sequence(0);
  return 0;
}

bool HostApplication::on_idle(long count) {
  const WindowSystem& ws = window_system();
  return ws.idle != nullptr && ws.idle(count);
}

bool HostApplication::pre_translate(MSG& message) {
  const WindowSystem& ws = window_system();
  return ws.pre_translate != nullptr && ws.pre_translate(&message);
}

int run_program(const ImageHeader& image, EntryRoutine entry) {
  HostApplication host(image, entry);
  return host.run();
}

}  // namespace runtime
