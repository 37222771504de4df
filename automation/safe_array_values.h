// Runtime arrays and byte sets as SAFEARRAYs and back, and the flat element index.
// Contract:
// - array_to_safe_array builds a one-dimensional SAFEARRAY with lower bound 1 holding every
//   element of the runtime array (all dimensions flattened in their own order); `element_tag`
//   is the array's element type (0x80000101 for a byte set). Null on an unsupported element
//   type or a failed allocation. A null array counts as empty.
// - byte_array_to_byte_set answers a new byte set for a VT_ARRAY of VT_UI1 / VT_I1 (through
//   VT_BYREF too), null for anything else or no bytes.
// - flat_index maps a 1-based position to one index per dimension, the first dimension
//   fastest; false when the position lies outside the array.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/com/typeinfo.h"

namespace automation {

SAFEARRAY* array_to_safe_array(const void* array, std::uint32_t element_tag, VARTYPE* vt);
void* byte_array_to_byte_set(const VARIANT& v);
bool flat_index(SAFEARRAY* array, std::int64_t position, std::vector<LONG>* indices);

}  // namespace automation
