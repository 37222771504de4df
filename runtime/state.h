// The one runtime state object of the process: everything start-up reads from the program
// image, the tables the services keep, and the flags of the end sequence.
// Contract: the host application constructs a RuntimeState and installs it as the current one
// for its lifetime (StateInstallation); services and the runtime callback find it through
// current_state(). Fields that worker threads touch (exiting, last window closed, event-block
// count, end routine, DLL slots) are atomic; everything else is written on the main thread only.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/api/types.h"
#include "runtime/abi/image.h"
#include "runtime/constant_ranges.h"
#include "runtime/dll_table.h"

namespace runtime {

class HostApplication;

using EndRoutine = void (*)();
using IdleRoutine = void (*)(std::intptr_t argument);

struct IdleCallback {
  HWND window;
  IdleRoutine routine;
  std::intptr_t argument;
};

// A window handle wrapped for a library (runtime callback 1007); owned by the runtime.
struct WindowObject {
  HWND window;
};

struct RuntimeState {
  HANDLE heap = nullptr;
  const ImageHeader* image = nullptr;
  std::uint32_t build_mode = 0;
  std::uint32_t reserved_word = 0;
  std::atomic<std::uint32_t> serial_counter{0};
  bool ole_started = false;
  bool started = false;
  std::string program_directory;
  std::string program_file;
  std::string program_directory_with_separator;
  std::atomic<HWND> hidden_window{nullptr};
  DWORD main_thread = 0;
  ConstantRanges constant_ranges;
  DllTable dlls;
  std::vector<const LibraryRecord*> libraries;
  std::vector<std::intptr_t> library_values;
  std::atomic<EndRoutine> end_routine{nullptr};
  std::atomic<bool> exiting{false};
  std::atomic<bool> last_window_closed{false};  // the loop's quit message is posted
  std::vector<IdleCallback> idle_callbacks;
  std::atomic<int> event_block_count{0};
  std::uint32_t event_window = 0;
  std::uint32_t event_unit = 0;
  bool message_loop_started = false;
  std::uint32_t modal_window = 0;
  std::vector<std::unique_ptr<WindowObject>> window_objects;
  HICON icons[2] = {nullptr, nullptr};
  bool icons_loaded = false;
  HostApplication* host = nullptr;
};

// The installed state, or null when no host runs (values then use the process heap directly).
RuntimeState* current_state();

// Installs a state as the current one for the lifetime of this object.
class StateInstallation {
 public:
  explicit StateInstallation(RuntimeState& state);
  ~StateInstallation();
  StateInstallation(const StateInstallation&) = delete;
  StateInstallation& operator=(const StateInstallation&) = delete;

 private:
  RuntimeState* previous_;
};

}  // namespace runtime
