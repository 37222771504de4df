// The record of a support library of fake unit types, as tests add one (library 2 of a UiHost).
// The unit tests use one such library at a time, so they share one identity.
#pragma once

#include <cstdint>
#include <span>

#include "runtime/abi/image.h"

namespace ui_test {

inline constexpr const char* kFakeLibraryGuid = "00000000000000000000000000000002";

inline runtime::LibraryRecord fake_library_record(const char* name,
                                                  std::span<const runtime::UnitTypeDescriptor> types) {
  runtime::LibraryRecord r{};
  r.format_mark = runtime::kLibraryRecordMark;
  r.guid = kFakeLibraryGuid;
  r.name = name;
  r.type_count = static_cast<std::uint32_t>(types.size());
  r.types = types.data();
  return r;
}

}  // namespace ui_test
