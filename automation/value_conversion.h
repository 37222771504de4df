// Conversions between runtime values and VARIANTs shared by the member call and the variant
// commands.
// Contract:
// - Text values are GB18030 (the ANSI code page); BSTRs UTF-16. A null text gives a null BSTR
//   and an empty BSTR a null text. New texts, byte sets, object records and variant blocks come
//   from the runtime heap and belong to the caller.
// - A value given "through its address" (argument records with bit 0x20000000) is read from the
//   variable whose address the record holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/com/typeinfo.h"
#include "runtime/abi/records.h"

namespace automation {

BSTR text_to_bstr(const char* text);
std::u16string text_to_utf16(const char* text);
// A new text value (null for an empty string).
char* bstr_to_text(const OLECHAR* text, std::size_t chars);
// A new byte set (null for n == 0).
void* make_byte_set(const void* data, std::size_t n);

// The 64-bit value word of an argument, read through the record's address when by_address.
std::uint64_t argument_value(const runtime::ArgRecord& record, std::uint32_t base_tag, bool by_address);

// The basic-type rows of the value-to-variant tables (logical, date-time, text and numbers);
// false for any other tag.
bool basic_to_variant(std::uint32_t base_tag, std::uint64_t value, VARIANT* out);

// Variant to value: converts `source` to the runtime type `tag` and stores it either in
// `result` (write_through false) or into the variable at `variable` (write_through true).
// False when the value cannot be converted.
bool variant_to_value(const VARIANT& source, std::uint32_t tag, bool write_through,
                      runtime::ArgRecord* result, void* variable);

// The VARTYPE a runtime type stands for (objects VT_UNKNOWN, variants VT_VARIANT); VT_EMPTY for
// types that have none.
VARTYPE tag_vartype(std::uint32_t tag);

// A new, zeroed 16-byte block (an empty object record or an empty variant block).
void* new_empty_block();

}  // namespace automation
