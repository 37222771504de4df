// The program image: the one constant block that tells the runtime everything about the
// application (header, DLL declarations, support library records with their command tables and
// unit types, constant data, window templates).
// Contract: these are plain structs in their documented field order with native pointers, so an
// image is written as ordinary constant C++ data (designated initialisers). The runtime never
// writes into an image. The window-template block is raw bytes (read by the template loader).
// Compiled routines are C++ functions; the code base is a table of (offset, routine) pairs, so
// a handler offset stored in a template is resolved by lookup.
#pragma once

#include <cstdint>

#include "runtime/abi/records.h"

namespace runtime {

// Signature shared by a library's notify routine and the runtime callback handed to it.
using NotifyRoutine = std::intptr_t (*)(std::int32_t code, std::intptr_t arg1, std::intptr_t arg2);
using RuntimeCallback = NotifyRoutine;

// The codes the runtime calls a library's notify routine with. A library answers -1 to a code
// that it does not handle.
namespace notify {
// Start-up, once per library in library order; argument 1 is the runtime callback. Answer 0.
inline constexpr std::int32_t kStart = 1;
// End sequence, once per library; argument 1 is the library's per-library value. Answer 0.
inline constexpr std::int32_t kEnd = 6;
}  // namespace notify

// A compiled routine of the application; callers cast it to its real signature.
using Routine = void (*)();

struct CodeEntry {
  std::int32_t offset;
  Routine routine;
};

struct CodeBase {
  const CodeEntry* entries;
  std::uint32_t count;
};

struct PropertyDescriptor {
  const char* name;
  const char* english_name;
  const char* explanation;
  std::uint16_t kind;
  std::uint16_t flags;
  const void* pick_list;
};

// Answers the entry point of one unit operation (1 create, 4 set, 5 serialize, 6 get, 7-10
// type-specific extras), or null.
using InterfaceQuery = void* (*)(std::int32_t code);

struct UnitTypeDescriptor {
  const char* name;
  const char* english_name;
  const char* explanation;
  std::uint32_t command_count;
  const std::int32_t* command_indexes;
  std::uint32_t state_bits;
  std::uint32_t reserved;
  std::uint32_t event_count;
  const void* events;
  std::uint32_t property_count;
  const PropertyDescriptor* properties;
  InterfaceQuery interface_query;
  std::uint32_t element_count;
  const void* elements;
};

inline constexpr std::uint32_t kLibraryRecordMark = 20000101;  // 0x01312D65

struct LibraryRecord {
  std::uint32_t format_mark;
  const char* guid;  // 32 hexadecimal characters
  std::uint32_t descriptive[7];
  const char* name;  // GB18030
  std::uint32_t descriptive_one;
  const void* reserved_pointer;
  std::uint32_t flags;
  std::uint32_t reserved_words[8];
  std::uint32_t type_count;         // counting empty slots
  const UnitTypeDescriptor* types;  // indexed by type number - 1
  std::uint32_t reserved_words2[2];
  std::uint32_t command_count;
  std::uint32_t reserved_word3;
  const CommandRoutine* commands;  // in command-number order
  std::uint32_t reserved_words4[2];
  NotifyRoutine notify;  // or null
  std::uint32_t reserved_words5[5];
};

struct ImageHeader {
  std::uint32_t build_mode;
  std::uint32_t reserved;
  std::uint32_t highest_serial;
  const CodeBase* code_base;
  const void* constants;
  std::uint32_t constants_size;
  const std::uint8_t* templates;
  std::uint32_t templates_size;
  std::uint32_t library_count;
  const LibraryRecord* const* libraries;
  std::uint32_t dll_count;
  const char* const* dll_files;  // NUL-terminated, GB18030; "" or null: standard system modules
  const char* const* dll_names;  // NUL-terminated; "#17" names ordinal 17
};

// Build mode whose runtime errors ask for a debugger stop.
inline constexpr std::uint32_t kBuildModeDebug = 2;

}  // namespace runtime
