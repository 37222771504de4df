// Making and freeing the runtime's owned values (their layouts: runtime/abi/value_layout.h).
// Contract: every maker allocates through the runtime heap (failure is the fatal allocation
// error) and the result belongs to the caller, who frees it with release() (free_array() for
// arrays of texts or byte sets). Values inside a constant range are never freed or written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "runtime/abi/value_layout.h"

namespace runtime {

// ---- text ----
char* make_text(const char* text);
char* make_text(std::string_view text);
char* make_text_bytes(const void* bytes, std::int64_t count);

// ---- byte set ----
std::uint8_t* make_byte_set(const void* bytes, std::size_t count);

// ---- array ----
// A zero-filled array of the given dimensions.
void* make_array(std::span<const std::uint32_t> dimensions, std::size_t element_width);
// A heap copy of the empty array {1, 0}.
void* make_empty_array();

// Frees an array whose element type is `element_tag` (array flag ignored): text and byte-set
// elements first, then the block. Null and constant arrays are left alone.
void free_array(std::uint32_t element_tag, void* array);

// When the array held in *variable lies in a constant range, replace it by a heap copy, so that
// the variable can be written. A heap array is left as it is.
void make_array_writable(std::size_t element_width, void** variable);

}  // namespace runtime
