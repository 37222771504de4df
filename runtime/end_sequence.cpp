#include "runtime/end_sequence.h"

#include "platform/api/gdi.h"
#include "platform/api/kernel.h"
#include "platform/api/user.h"
#include "platform/com/apartment.h"
#include "runtime/state.h"
#include "runtime/window_system.h"

namespace runtime {
namespace {

bool on_main_thread(const RuntimeState& s) {
  return s.main_thread == 0 || GetCurrentThreadId() == s.main_thread;
}

void hand_to_main_thread(RuntimeState& s, std::int32_t code) {
  HWND hidden = s.hidden_window.load();
  if (!s.exiting.load() && hidden != nullptr && IsWindow(hidden)) {
    SendMessageA(hidden, kEndProgramMessage, static_cast<WPARAM>(static_cast<std::uint32_t>(code)), 0);
  }
  if (!s.exiting.load()) ExitProcess(static_cast<UINT>(code));
}

void notify_libraries_of_end(RuntimeState& s) {
  for (std::size_t i = 0; i < s.libraries.size(); ++i) {
    const LibraryRecord* library = s.libraries[i];
    std::intptr_t value = i < s.library_values.size() ? s.library_values[i] : 0;
    if (library != nullptr && library->notify != nullptr) library->notify(6, value, 0);
  }
  s.libraries.clear();
  s.library_values.clear();
}

}  // namespace

bool run_end_sequence(std::int32_t code) {
  RuntimeState* state = current_state();
  if (state == nullptr) return true;
  RuntimeState& s = *state;
  if (!on_main_thread(s)) {
    hand_to_main_thread(s, code);
    return false;
  }
  if (s.exiting.exchange(true)) return false;

  ++s.event_block_count;
  s.idle_callbacks.clear();
  const WindowSystem& ws = window_system();
  if (ws.unload_all != nullptr) ws.unload_all();

  if (EndRoutine end = s.end_routine.exchange(nullptr)) end();

  notify_libraries_of_end(s);
  s.dlls.release();

  s.window_objects.clear();
  s.constant_ranges.clear();
  for (HICON& icon : s.icons) {
    if (icon != nullptr) DestroyIcon(icon);
    icon = nullptr;
  }
  if (HWND hidden = s.hidden_window.exchange(nullptr)) DestroyWindow(hidden);
  if (s.ole_started) {
    OleUninitialize();
    s.ole_started = false;
  }
  return true;
}

void end_program(std::int32_t code) {
  bool ran = run_end_sequence(code);
  RuntimeState* state = current_state();
  if (ran || state == nullptr || on_main_thread(*state)) ExitProcess(static_cast<UINT>(code));
}

}  // namespace runtime
