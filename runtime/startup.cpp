#include "runtime/startup.h"

#include <optional>

#include "platform/api/kernel.h"
#include "platform/com/apartment.h"
#include "runtime/callback.h"
#include "runtime/hidden_window.h"
#include "runtime/image_reader.h"
#include "runtime/messages.h"
#include "runtime/program_path.h"
#include "runtime/runtime_error.h"
#include "runtime/state.h"
#include "runtime/window_system.h"

namespace runtime {
namespace {

void take_program_path(RuntimeState& s) {
  ProgramPath path = split_program_path(program_module_path());
  s.program_directory = std::move(path.directory);
  s.program_file = std::move(path.file);
  // An empty directory fails here and leaves the current directory as it was.
  SetCurrentDirectoryA(s.program_directory.c_str());
}

void notify_libraries(RuntimeState& s, const ImageView& image) {
  for (const LibraryRecord* library : image.libraries) {
    if (library->notify != nullptr) library->notify(1, reinterpret_cast<std::intptr_t>(&runtime_callback), 0);
  }
  s.libraries.assign(image.libraries.begin(), image.libraries.end());
  s.library_values.assign(image.libraries.size(), 0);
}

}  // namespace

void startup() {
  RuntimeState* state = current_state();
  if (state == nullptr) return;
  RuntimeState& s = *state;
  std::optional<ImageView> image = read_image(s.image);
  if (!image) report_runtime_error(messages::kImageInvalid, 0);
  const ImageHeader& header = *image->header;

  s.heap = GetProcessHeap();
  s.build_mode = header.build_mode;
  s.reserved_word = header.reserved;
  s.serial_counter = header.highest_serial + 1;
  if (!s.ole_started) s.ole_started = OleInitialize(nullptr) >= 0;
  take_program_path(s);
  s.dlls.set_program_directory(s.program_directory, s.program_directory_with_separator);
  s.hidden_window = create_hidden_window();
  s.main_thread = GetCurrentThreadId();
  if (header.constants_size != 0) s.constant_ranges.add(header.constants, header.constants_size);
  if (header.dll_count != 0) s.dlls.assign(header.dll_count, header.dll_files, header.dll_names);
  notify_libraries(s, *image);
  s.started = true;

  if (!image->templates.empty()) {
    const WindowSystem& ws = window_system();
    if (ws.load_templates == nullptr || !ws.load_templates(image->templates, header.code_base)) {
      report_runtime_error(messages::kTemplateLoadFailed, 0);
    }
  }
}

void load_start_window(std::uint32_t window_id) {
  const WindowSystem& ws = window_system();
  if (ws.load_start_window == nullptr || !ws.load_start_window(window_id)) {
    report_runtime_error(messages::kStartWindowFailed, 0);
  }
}

}  // namespace runtime
