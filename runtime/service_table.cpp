#include "runtime/service_table.h"

#include <string>

#include "runtime/call_service.h"
#include "runtime/end_sequence.h"
#include "runtime/find_file.h"
#include "runtime/heap.h"
#include "runtime/message_loop.h"
#include "runtime/runtime_error.h"
#include "runtime/startup.h"
#include "runtime/state.h"
#include "runtime/values.h"
#include "runtime/window_system.h"

namespace runtime {
namespace {

void report_code(std::int32_t code) {
  report_error_code(code);
}

void* dll_command(std::int32_t index) {
  RuntimeState* s = current_state();
  if (s == nullptr) report_gone("");
  // A negative number is out of the table like any other unknown number.
  lyr::Result<void*> address = s->dlls.resolve(static_cast<std::uint32_t>(index));
  if (!address) report_gone(address.error().c_str());
  return address.value();
}

std::uint64_t read_property(std::uint32_t window_id, std::uint32_t unit_id, std::int32_t index,
                            std::int32_t selector) {
  const WindowSystem& ws = window_system();
  return ws.read_property != nullptr ? ws.read_property(window_id, unit_id, index, selector) : 0;
}

void write_property(std::uint32_t window_id, std::uint32_t unit_id, std::int32_t index, std::int32_t selector,
                    std::uint64_t value) {
  const WindowSystem& ws = window_system();
  if (ws.write_property != nullptr) ws.write_property(window_id, unit_id, index, selector, value);
}

void free_block(void* block) {
  release(block);
}

std::intptr_t numbered(std::int32_t service, std::intptr_t a1, std::intptr_t a2, std::intptr_t a3,
                       std::intptr_t a4, std::intptr_t a5, std::intptr_t a6) {
  const WindowSystem& ws = window_system();
  switch (service) {
    case kFindFile:
      return reinterpret_cast<std::intptr_t>(
          find_file(reinterpret_cast<const char*>(a1), static_cast<std::uint32_t>(a2),
                    static_cast<std::uint32_t>(a3), reinterpret_cast<HANDLE*>(a4)));
    case kEndFindFile:
      end_find_file(reinterpret_cast<HANDLE>(a1));
      return 0;
    case kMakeArrayWritable:
      make_array_writable(static_cast<std::size_t>(a1), reinterpret_cast<void**>(a2));
      return 0;
    case kRegisterEndRoutine:
      if (RuntimeState* s = current_state()) s->end_routine.store(reinterpret_cast<EndRoutine>(a1));
      return 0;
    case kReadObjectProperty:
      if (ws.read_object_property == nullptr) return 0;
      return static_cast<std::intptr_t>(
          ws.read_object_property(static_cast<std::uint32_t>(a1), reinterpret_cast<void*>(a2),
                                  static_cast<std::int32_t>(a3), static_cast<std::int32_t>(a4)));
    case kWriteObjectProperty:
      if (ws.write_object_property != nullptr) {
        ws.write_object_property(static_cast<std::uint32_t>(a1), reinterpret_cast<void*>(a2),
                                 static_cast<std::int32_t>(a3), static_cast<std::int32_t>(a4),
                                 static_cast<std::uint64_t>(a5));
      }
      return 0;
    case kStartup:
      startup();
      return 0;
    default:
      (void)a6;
      return 0;
  }
}

}  // namespace

const ServiceTable& service_table() {
  static const ServiceTable table{
      report_code, dll_command, call_command, call_core_command, read_property,     write_property, allocate,
      resize,      free_block,  end_program,  message_loop,      load_start_window, numbered,
  };
  return table;
}

}  // namespace runtime
