#include "runtime/values.h"

#include <cstring>

#include "runtime/abi/records.h"
#include "runtime/heap.h"
#include "runtime/runtime_error.h"

namespace runtime {
namespace {

void write_u32(void* p, std::size_t offset, std::uint32_t v) {
  std::memcpy(static_cast<std::uint8_t*>(p) + offset, &v, sizeof v);
}

}  // namespace

char* make_text(const char* text) {
  if (text == nullptr) return nullptr;
  return make_text(std::string_view(text));
}

char* make_text(std::string_view text) {
  return make_text_bytes(text.data(), static_cast<std::int64_t>(text.size()));
}

char* make_text_bytes(const void* bytes, std::int64_t count) {
  if (count < 1 || bytes == nullptr) return nullptr;
  auto n = static_cast<std::size_t>(count);
  auto* text = static_cast<char*>(allocate(n + 1));
  std::memcpy(text, bytes, n);
  text[n] = '\0';
  return text;
}

std::uint8_t* make_byte_set(const void* bytes, std::size_t count) {
  if (count == 0) return nullptr;
  if (count > UINT32_MAX) report_allocation_failure(count + kByteSetHeader);
  auto* set = static_cast<std::uint8_t*>(allocate(count + kByteSetHeader));
  write_u32(set, 0, 1);
  write_u32(set, 4, static_cast<std::uint32_t>(count));
  if (bytes != nullptr) {
    std::memcpy(set + kByteSetHeader, bytes, count);
  } else {
    std::memset(set + kByteSetHeader, 0, count);
  }
  return set;
}

void* make_array(std::span<const std::uint32_t> dimensions, std::size_t element_width) {
  std::uint64_t count = 1;
  for (std::uint32_t size : dimensions) {
    if (size != 0 && count > UINT64_MAX / size)
      count = UINT64_MAX;
    else
      count *= size;
  }
  std::size_t header = 4 + 4 * dimensions.size();
  std::size_t bytes = checked_array_block_size(header, count, element_width);
  if (bytes == 0 || dimensions.size() > UINT32_MAX) report_allocation_failure(SIZE_MAX);
  void* array = allocate(bytes);
  std::memset(array, 0, bytes);
  write_u32(array, 0, static_cast<std::uint32_t>(dimensions.size()));
  for (std::size_t i = 0; i < dimensions.size(); ++i) write_u32(array, 4 + 4 * i, dimensions[i]);
  return array;
}

void* make_empty_array() {
  static constexpr std::uint32_t kEmpty[] = {0};
  return make_array(kEmpty, 1);
}

void free_array(std::uint32_t element_tag, void* array) {
  if (array == nullptr || is_constant(array)) return;
  if (owns_element_blocks(element_tag)) {
    auto* elements = static_cast<void**>(array_elements(array));
    std::uint64_t count = array_element_count(array);
    for (std::uint64_t i = 0; i < count; ++i) {
      void* element;
      std::memcpy(&element, elements + i, sizeof element);
      release(element);
    }
  }
  release(array);
}

void make_array_writable(std::size_t element_width, void** variable) {
  if (variable == nullptr || *variable == nullptr || !is_constant(*variable)) return;
  const void* constant = *variable;
  std::size_t bytes = array_block_size(constant, element_width);
  if (bytes == 0) report_allocation_failure(SIZE_MAX);
  void* copy = allocate(bytes);
  std::memcpy(copy, constant, bytes);
  *variable = copy;
}

}  // namespace runtime
