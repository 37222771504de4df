// Owned runtime values and their layouts.
// - Text value: NUL-terminated GB18030 bytes in a block of exactly length + 1 bytes; the empty
//   text is null (readers treat null as "").
// - Byte set: one block {u32 1, u32 length n, n bytes}; the empty byte set is null, and a
//   constant {1, 0} reads as empty too.
// - Array value: one block {u32 dimension count d, d x u32 sizes, packed elements}; element
//   widths by type (records.h). A new array variable holds a heap copy of {1, 0}.
// Contract: every maker allocates through the runtime heap (failure is the fatal allocation
// error) and the result belongs to the caller, who frees it with release() (free_array() for
// arrays of texts or byte sets). Values inside a constant range are never freed or written.
// Layout readers accept null and answer the empty value's properties.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace runtime {

// ---- text ----
char* make_text(const char* text);
char* make_text(std::string_view text);
char* make_text_bytes(const void* bytes, std::int64_t count);
inline const char* text_or_empty(const char* text) {
  return text != nullptr ? text : "";
}

// ---- byte set ----
inline constexpr std::size_t kByteSetHeader = 8;
std::uint8_t* make_byte_set(const void* bytes, std::size_t count);
std::uint32_t byte_set_length(const void* set);
const std::uint8_t* byte_set_data(const void* set);
std::span<const std::uint8_t> byte_set_bytes(const void* set);

// ---- array ----
std::uint32_t array_dimension_count(const void* array);
std::uint32_t array_dimension(const void* array, std::uint32_t index);
// Product of the dimension sizes (1 for no dimensions).
std::uint64_t array_element_count(const void* array);
std::size_t array_header_size(const void* array);
void* array_elements(void* array);
const void* array_elements(const void* array);
// Header plus width x element count.
std::size_t array_block_size(const void* array, std::size_t element_width);

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
