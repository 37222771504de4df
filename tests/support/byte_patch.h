// A copy of a file image with one little-endian field overwritten: the damaged files of the
// hostile-input tests are a valid base with one field changed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace test_support {

inline std::vector<std::uint8_t> with_u16(std::vector<std::uint8_t> bytes, std::size_t offset,
                                          std::uint16_t v) {
  (void)bytes.at(offset + 1);  // a field past the end is the test's own fault: throw
  std::memcpy(bytes.data() + offset, &v, 2);
  return bytes;
}

inline std::vector<std::uint8_t> with_u32(std::vector<std::uint8_t> bytes, std::size_t offset,
                                          std::uint32_t v) {
  (void)bytes.at(offset + 3);
  std::memcpy(bytes.data() + offset, &v, 4);
  return bytes;
}

}  // namespace test_support
