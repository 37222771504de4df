// The core library's automation data types and their nine commands: the object type
// ("对象", type 48) and the variant type ("变体型", type 49).
// Contract:
// - Every routine has the command signature (result, count, args) and never frees its arguments.
// - An object value is a 16-byte object record {IUnknown* interface, void* record data}; a variant
//   value is a 16-byte block holding one VARIANT. Arguments carry their addresses.
// - No routine raises a runtime error or shows anything: member calls leave the calling thread's
//   automation error code (0 or -1 .. -18) and hand back an empty value of the promised type.
// - The commands reach the runtime only through the runtime callback handed to attach_runtime
//   (the core library's notify routine passes it on); before that, a call into the runtime ends
//   the process (runtime/abi/runtime_link.h).
#pragma once

#include <cstdint>

#include "runtime/abi/image.h"
#include "runtime/abi/records.h"

namespace automation {

// Object commands (core command table positions 3, 4, 5, 8, 9, 11).
void com_object_create(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args);
void com_object_method(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args);
void com_object_read_property(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args);
void com_object_clear(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args);
void com_object_write_property(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args);
void com_object_text_method(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args);

// Variant commands (positions 6, 7, 10).
void variant_to_byte_set(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args);
void variant_clear(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args);
void variant_assign(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args);

// Descriptors for slots 48 and 49 of the core type table (state word 0x80000000).
const runtime::UnitTypeDescriptor& com_object_type_descriptor();
const runtime::UnitTypeDescriptor& variant_type_descriptor();

// Hands the automation types the runtime callback (from the core library's notify routine,
// code 1) and installs the object release behind runtime callback 2035 (through callback 2037).
void attach_runtime(runtime::RuntimeCallback callback);

// The calling thread's automation error code: 0 before the first member call, then the code of
// the last one.
std::int32_t automation_error_code();

}  // namespace automation
