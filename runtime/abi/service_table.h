// The runtime service table: the only door from compiled application code into the runtime.
// Contract: 13 slots in fixed order, filled before the application's entry routine runs and
// constant for the whole run. Slots 0 and 9 do not return (9 returns only to a worker thread
// whose end request finds the end sequence already running on the main thread). Values handed
// back (texts, byte sets, arrays, property values) belong to the caller, who frees them with
// slot 8. Slot 1 answers the bound address of a DLL command, which the caller then calls with
// the routine's own arguments (see dll_call.h); an unbindable command is a runtime error.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/abi/records.h"

namespace runtime {

struct ServiceTable {
  void (*report_error)(std::int32_t code);
  void* (*dll_command)(std::int32_t index);
  ArgRecord (*call_library)(std::int32_t library, CommandRoutine routine, std::int32_t count,
                            ArgRecord* args);
  ArgRecord (*call_core)(CommandRoutine routine, std::int32_t count, ArgRecord* args);
  std::uint64_t (*read_property)(std::uint32_t window_id, std::uint32_t unit_id, std::int32_t index,
                                 std::int32_t selector);
  void (*write_property)(std::uint32_t window_id, std::uint32_t unit_id, std::int32_t index,
                         std::int32_t selector, std::uint64_t value);
  void* (*allocate)(std::size_t bytes);
  void* (*resize)(void* block, std::size_t bytes);
  void (*free)(void* block);
  void (*end_program)(std::int32_t exit_code);
  void (*message_loop)();
  void (*load_start_window)(std::uint32_t window_id);
  std::intptr_t (*numbered)(std::int32_t service, std::intptr_t a1, std::intptr_t a2, std::intptr_t a3,
                            std::intptr_t a4, std::intptr_t a5, std::intptr_t a6);
};

// Numbered services (slot 12) and their arguments:
enum NumberedService : std::int32_t {
  kFindFile = 0,             // pattern text, attribute mask, not-directories flag, HANDLE* -> text or null
  kEndFindFile = 1,          // search handle
  kMakeArrayWritable = 2,    // element width, address of the array variable
  kRegisterEndRoutine = 3,   // routine void()
  kReadObjectProperty = 4,   // type reference, object, index, selector -> value
  kWriteObjectProperty = 5,  // type reference, object, index, selector, value
  kStartup = 6,              // -
};

// The application's entry routine: called by the host once, with the table; its result is the
// result of the host's initialisation.
using EntryRoutine = std::int32_t (*)(const ServiceTable& services);

}  // namespace runtime
