#include "libs/internet/internet_library.h"

#include <array>
#include <cstring>
#include <string_view>

#include "libs/internet/http_read.h"
#include "libs/internet/internet_root.h"
#include "runtime/abi/callback_codes.h"
#include "runtime/abi/command_library.h"
#include "runtime/abi/runtime_link.h"
#include "runtime/abi/value_layout.h"

namespace libs::internet {
namespace {

constinit runtime::RuntimeLink runtime_link;

constexpr std::array<runtime::CommandRoutine, kInternetCommandCount> kCommands = {
    &http_read_file_command,
};

// A byte set from the runtime heap: count 1, length, bytes. Null when there is nothing to hand
// back or the runtime can't allocate it (this library never raises a runtime error).
void* make_byte_set(const std::vector<std::uint8_t>& bytes) {
  if (bytes.empty()) return nullptr;
  const std::uint32_t length = static_cast<std::uint32_t>(bytes.size());
  auto* block = reinterpret_cast<std::uint8_t*>(runtime_link.call(
      runtime::callback::kAllocate, static_cast<std::intptr_t>(bytes.size() + runtime::kByteSetHeader), 1));
  if (block == nullptr) return nullptr;
  const std::uint32_t dimensions = 1;
  std::memcpy(block, &dimensions, 4);
  std::memcpy(block + 4, &length, 4);
  std::memcpy(block + runtime::kByteSetHeader, bytes.data(), bytes.size());
  return block;
}

}  // namespace

std::span<const runtime::CommandRoutine> internet_commands() {
  return kCommands;
}

void http_read_file_command(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args) {
  std::string_view address;
  if (count >= 1 && args != nullptr && runtime::base_tag(args[0].tag) == runtime::tag::kText) {
    if (const char* text = args[0].pointer<const char>(); text != nullptr) address = text;
  }
  std::vector<std::uint8_t> body = http_read(address, process_internet_root(), platform_internet_functions());
  void* bytes = make_byte_set(body);
  if (result == nullptr) return;
  result->set_pointer(bytes);
  result->tag = runtime::tag::kByteSet;
}

std::intptr_t internet_library_notify(std::int32_t code, std::intptr_t arg1, std::intptr_t) {
  switch (code) {
    case runtime::notify::kStart:
      runtime_link.attach(reinterpret_cast<runtime::RuntimeCallback>(arg1));
      return 0;
    case runtime::notify::kEnd:
      process_internet_root().close();
      return 0;
    default:
      return -1;
  }
}

const runtime::LibraryRecord& internet_library_record() {
  static const runtime::LibraryRecord record = runtime::command_library_record({
      .guid = "707ca37322474f6ca841f0e224f4b620",
      .descriptive = {2, 0, 0, 3, 0, 3, 0},
      .name = "\xBB\xA5\xC1\xAA\xCD\xF8\xD6\xA7\xB3\xD6\xBF\xE2",  // 互联网支持库
      .flags = 0,
      .commands = kCommands,
      .notify = &internet_library_notify,
  });
  return record;
}

}  // namespace libs::internet
