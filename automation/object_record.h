// The value of an object variable: two native pointers, the object's IUnknown (owned) and the
// data of a user-defined record (null for every ordinary object).
#pragma once

#include <cstdint>

#include "platform/com/typeinfo.h"

namespace automation {

struct ObjectRecord {
  IUnknown* iface;
  void* record;
};
static_assert(sizeof(ObjectRecord) == 16);

// Empties a record as ComObject.Clear does: a record's data is destroyed through its
// IRecordInfo (or freed on the runtime heap when there is none), the interface released.
void release_object_record(ObjectRecord& object);

// True for 0x10030 and every library data type whose descriptor carries bit 0x01000000.
bool is_object_like(std::uint32_t type_tag);

}  // namespace automation
