// A support library that declares commands but no data types: its record in the program image.
// Contract: the record points at the caller's command table, name and GUID, which must outlive
// it (they are static data of the library); the type table is empty.
#pragma once

#include <cstdint>
#include <span>

#include "runtime/abi/image.h"

namespace runtime {

struct CommandLibraryInfo {
  const char* guid;  // 32 hexadecimal characters
  std::uint32_t descriptive[7];
  const char* name;  // GB18030
  std::uint32_t flags;
  std::span<const CommandRoutine> commands;
  NotifyRoutine notify;
};

inline LibraryRecord command_library_record(const CommandLibraryInfo& info) {
  LibraryRecord r{};
  r.format_mark = kLibraryRecordMark;
  r.guid = info.guid;
  for (int i = 0; i < 7; ++i) r.descriptive[i] = info.descriptive[i];
  r.name = info.name;
  r.descriptive_one = 1;
  r.flags = info.flags;
  r.command_count = static_cast<std::uint32_t>(info.commands.size());
  r.commands = info.commands.data();
  r.notify = info.notify;
  return r;
}

}  // namespace runtime
