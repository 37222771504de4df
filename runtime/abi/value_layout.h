// The layouts of the runtime's owned values, and readers for them.
// - Text value: NUL-terminated GB18030 bytes in a block of exactly length + 1 bytes; the empty
//   text is null (readers treat null as "").
// - Byte set: one block {u32 1, u32 length n, n bytes}; the empty byte set is null, and a
//   constant {1, 0} reads as empty too.
// - Array value: one block {u32 dimension count d, d x u32 sizes, packed elements}; element
//   widths by type (records.h). A new array variable holds a heap copy of {1, 0}.
// Contract: every block comes from the runtime heap (or lies in the constant block) and is freed
// by the runtime (callbacks 2023, 2025; service slot 8). The readers accept null and answer the
// empty value's properties; they never allocate.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace runtime {

namespace layout {
inline std::uint32_t read_u32(const void* block, std::size_t offset) {
  std::uint32_t v;
  std::memcpy(&v, static_cast<const std::uint8_t*>(block) + offset, sizeof v);
  return v;
}
}  // namespace layout

inline const char* text_or_empty(const char* text) {
  return text != nullptr ? text : "";
}

// ---- byte set ----
inline constexpr std::size_t kByteSetHeader = 8;

inline std::uint32_t byte_set_length(const void* set) {
  return set == nullptr ? 0 : layout::read_u32(set, 4);
}
inline const std::uint8_t* byte_set_data(const void* set) {
  return set == nullptr ? nullptr : static_cast<const std::uint8_t*>(set) + kByteSetHeader;
}
inline std::span<const std::uint8_t> byte_set_bytes(const void* set) {
  const std::uint32_t n = byte_set_length(set);
  if (n == 0) return {};
  return {byte_set_data(set), n};
}

// ---- array ----
inline std::uint32_t array_dimension_count(const void* array) {
  return array == nullptr ? 0 : layout::read_u32(array, 0);
}
inline std::uint32_t array_dimension(const void* array, std::uint32_t index) {
  if (index >= array_dimension_count(array)) return 0;
  return layout::read_u32(array, 4 + 4 * static_cast<std::size_t>(index));
}
// Product of the dimension sizes (1 for no dimensions; UINT64_MAX when it overflows).
inline std::uint64_t array_element_count(const void* array) {
  if (array == nullptr) return 0;
  const std::uint32_t d = array_dimension_count(array);
  std::uint64_t count = 1;
  for (std::uint32_t i = 0; i < d; ++i) {
    const std::uint64_t size = layout::read_u32(array, 4 + 4 * static_cast<std::size_t>(i));
    if (size != 0 && count > UINT64_MAX / size) return UINT64_MAX;
    count *= size;
  }
  return count;
}
inline std::size_t array_header_size(const void* array) {
  return 4 + 4 * static_cast<std::size_t>(array_dimension_count(array));
}
inline void* array_elements(void* array) {
  return array == nullptr ? nullptr : static_cast<std::uint8_t*>(array) + array_header_size(array);
}
inline const void* array_elements(const void* array) {
  return array == nullptr ? nullptr : static_cast<const std::uint8_t*>(array) + array_header_size(array);
}
// Header plus `count` elements of `width` bytes, or 0 when that does not fit a size_t.
inline std::size_t checked_array_block_size(std::size_t header, std::uint64_t count, std::size_t width) {
  if (width != 0 && count > (SIZE_MAX - header) / width) return 0;
  return header + static_cast<std::size_t>(count) * width;
}
// Header plus width x element count (0 on overflow).
inline std::size_t array_block_size(const void* array, std::size_t element_width) {
  return checked_array_block_size(array_header_size(array), array_element_count(array), element_width);
}

}  // namespace runtime
