#include <algorithm>
#include <array>
#include <string>

#include "commands/arguments.h"
#include "commands/program_commands.h"
#include "platform/api/kernel.h"
#include "runtime/abi/callback_codes.h"

namespace commands {
namespace {

constexpr std::int32_t kDefaultStyle = 2;
constexpr DWORD kIdleWait = 1000;
// Styles 1-6: hidden; normal; minimised; maximised (all active); normal, minimised (inactive).
constexpr std::array<int, 6> kShowStates = {0, 1, 2, 3, 4, 6};

}  // namespace

int show_state(std::int32_t window_style) {
  return kShowStates[static_cast<std::size_t>(std::clamp(window_style, 1, 6) - 1)];
}

void run_program_command(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args) {
  const Arguments a(count, args);
  // CreateProcessA may write into the command line, so it gets its own copy.
  std::string command_line(a.text(1));
  const bool wait = a.logical(2, false);

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(show_state(a.integer(3, kDefaultStyle)));
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    set_logical_result(result, false);
    return;
  }
  if (wait) {
    WaitForSingleObject(process.hProcess, INFINITE);
  } else {
    WaitForInputIdle(process.hProcess, kIdleWait);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  set_logical_result(result, true);
}

void get_run_directory_command(runtime::ArgRecord* result, std::int32_t, runtime::ArgRecord*) {
  const auto* directory =
      reinterpret_cast<const char*>(call_runtime(runtime::callback::kProgramDirectory, 0, 0));
  set_pointer_result(result, make_text(directory != nullptr ? directory : ""), runtime::tag::kText);
}

}  // namespace commands
