#include "commands/runtime_link.h"

#include <cstdlib>
#include <cstring>

#include "commands/core_commands.h"
#include "runtime/abi/callback_codes.h"
#include "runtime/abi/runtime_link.h"

namespace commands {
namespace {

constinit runtime::RuntimeLink runtime_link;

}  // namespace

void attach_runtime(runtime::RuntimeCallback callback) {
  runtime_link.attach(callback);
}

std::intptr_t call_runtime(std::int32_t code, std::intptr_t arg1, std::intptr_t arg2) {
  return runtime_link.call(code, arg1, arg2);
}

void* allocate(std::size_t bytes) {
  // Argument 2 = 0: the runtime reports a failed allocation itself and never returns null.
  return reinterpret_cast<void*>(
      call_runtime(runtime::callback::kAllocate, static_cast<std::intptr_t>(bytes), 0));
}

void release(void* block) {
  if (block != nullptr) call_runtime(runtime::callback::kFree, runtime::address_word(block), 0);
}

char* make_text(std::string_view bytes) {
  if (bytes.empty()) return nullptr;
  auto* text = static_cast<char*>(allocate(bytes.size() + 1));
  std::memcpy(text, bytes.data(), bytes.size());
  text[bytes.size()] = '\0';
  return text;
}

std::int32_t to_integer(const runtime::ArgRecord& record) {
  return static_cast<std::int32_t>(
      call_runtime(runtime::callback::kToInteger, runtime::address_word(&record), 0));
}

void fail(const char* message) {
  call_runtime(runtime::callback::kReportError, runtime::address_word(message), 0);
  // The runtime ends the program inside the call; a callback that came back leaves nothing sane.
  std::abort();
}

}  // namespace commands
