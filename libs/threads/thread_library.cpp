#include "libs/threads/thread_library.h"

#include <array>

#include "libs/threads/critical_sections.h"
#include "libs/threads/start_thread.h"
#include "runtime/abi/command_library.h"

namespace libs::threads {
namespace {

constinit runtime::RuntimeLink runtime_link;

constexpr std::array<runtime::CommandRoutine, 1> kCommands = {&start_thread_command};

}  // namespace

std::intptr_t thread_library_notify(std::int32_t code, std::intptr_t arg1, std::intptr_t) {
  switch (code) {
    case runtime::notify::kStart:
      runtime_link.attach(reinterpret_cast<runtime::RuntimeCallback>(arg1));
      return 0;
    case runtime::notify::kEnd:
      critical_sections().clear();
      return 0;
    default:
      return -1;
  }
}

const runtime::RuntimeLink& thread_library_link() {
  return runtime_link;
}

const runtime::LibraryRecord& thread_library_record() {
  static const runtime::LibraryRecord record = runtime::command_library_record({
      .guid = "5f99c1642a2f4e03850721b6ab15c3f1",
      .descriptive = {2, 0, 3, 3, 7, 3, 7},
      .name = "\xB6\xE0\xCF\xDF\xB3\xCC\xD6\xA7\xB3\xD6\xBF\xE2",  // 多线程支持库
      .flags = 0xC0000000,
      .commands = kCommands,
      .notify = &thread_library_notify,
  });
  return record;
}

}  // namespace libs::threads
