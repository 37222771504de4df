#include "runtime/runtime_error.h"

#include <atomic>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "platform/api/dialogs.h"
#include "platform/api/kernel.h"
#include "runtime/end_sequence.h"
#include "runtime/messages.h"
#include "runtime/state.h"

namespace runtime {
namespace {

bool debugger_attached() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("TracerPid:", 0) == 0) return std::atoi(line.c_str() + 10) != 0;
  }
  return false;
}

std::atomic<int>& parked() {
  static std::atomic<int> n{0};
  return n;
}

// The thread never goes back to the code that called: the main thread ends the process.
[[noreturn]] void park() {
  parked().fetch_add(1);
  for (;;) Sleep(INFINITE);
}

}  // namespace

int parked_threads() {
  return parked().load();
}

std::string runtime_error_text(const char* message, std::int32_t code) {
  std::string text = messages::kErrorHeading;
  if (code != 0) {
    char number[16];
    auto [end, ec] = std::to_chars(number, number + sizeof number, code);
    text += messages::kErrorCodeLabel;
    text.append(number, end);
    text += "\r\n\r\n";
  }
  if (message != nullptr && *message != '\0') {
    text += messages::kErrorMessageLabel;
    text += message;
    text += "\r\n";
  }
  return text;
}

void format_allocation_failure(std::size_t bytes, char (&buffer)[kAllocationMessageSize]) {
  // The format holds one "%d"; the count is written as a signed 64-bit number in its place.
  std::string_view format = messages::kAllocationFailed;
  std::size_t at = format.find("%d");
  char* out = buffer;
  char* const last = buffer + kAllocationMessageSize - 1;
  auto put = [&](std::string_view piece) {
    std::size_t n = std::min<std::size_t>(piece.size(), static_cast<std::size_t>(last - out));
    std::memcpy(out, piece.data(), n);
    out += n;
  };
  put(format.substr(0, at));
  char number[24];
  auto [end, ec] = std::to_chars(number, number + sizeof number, static_cast<std::int64_t>(bytes));
  put(std::string_view(number, static_cast<std::size_t>(end - number)));
  put(format.substr(at + 2));
  *out = '\0';
}

void report_runtime_error(const char* message, std::int32_t code) {
  RuntimeState* state = current_state();
  if (state != nullptr) ++state->event_block_count;
  std::string text = runtime_error_text(message, code);
  MessageBoxA(nullptr, text.c_str(), messages::kErrorCaption, MB_ICONHAND | MB_OK);
  if (state != nullptr) {
    if (state->build_mode == kBuildModeDebug && debugger_attached()) std::raise(SIGTRAP);
    state->end_routine.store(nullptr);
  }
  end_program(-1);
  // Only a worker whose request met an end sequence already under way gets here: it must not
  // go back to the faulty code, and the main thread is about to end the process.
  park();
}

void report_gone(const char* message) {
  const RuntimeState* state = current_state();
  const bool ending = state != nullptr && (state->exiting.load() || state->last_window_closed.load());
  if (ending && state->main_thread != 0 && GetCurrentThreadId() != state->main_thread) park();
  report_runtime_error(message, 0);
}

void report_error_code(std::int32_t code) {
  const char* message = "";
  if (code >= 1 && code <= 11) message = messages::kErrorCodeMessages[code];
  report_runtime_error(message, code);
}

void report_allocation_failure(std::size_t bytes) {
  char buffer[kAllocationMessageSize];
  format_allocation_failure(bytes, buffer);
  report_runtime_error(buffer, 0);
}

}  // namespace runtime
