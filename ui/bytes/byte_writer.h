// ByteWriter: appends little-endian fields to a growing byte vector, the counterpart of
// ByteReader. The template builder and every unit's property block write through it.
// Contract: counted texts and byte runs get a u32 length (sizes above 4 GiB are a programming
// fault and are asserted); c_text writes the bytes and a NUL and stops at an embedded NUL.
#pragma once

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <cstring>
#include <limits>
#include <span>
#include <string_view>
#include <vector>

namespace lyr {

class ByteWriter {
 public:
  void u8(std::uint8_t v) { bytes_.push_back(v); }
  void u16(std::uint16_t v) {
    u8(static_cast<std::uint8_t>(v));
    u8(static_cast<std::uint8_t>(v >> 8));
  }
  void u32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) u8(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
  void raw(std::span<const std::uint8_t> b) { bytes_.insert(bytes_.end(), b.begin(), b.end()); }
  void raw(std::string_view s) { bytes_.insert(bytes_.end(), s.begin(), s.end()); }
  void counted(std::span<const std::uint8_t> b) {
    u32(checked_length(b.size()));
    raw(b);
  }
  void counted_text(std::string_view s) {
    u32(checked_length(s.size()));
    raw(s);
  }
  void c_text(std::string_view s) {
    raw(s.substr(0, std::min(s.size(), s.find('\0'))));
    u8(0);
  }
  // Overwrites a u32 written earlier at offset (for sizes known only afterwards).
  void patch_u32(std::size_t offset, std::uint32_t v) {
    assert(offset + 4 <= bytes_.size());
    for (int i = 0; i < 4; ++i) bytes_[offset + i] = static_cast<std::uint8_t>(v >> (8 * i));
  }

  std::size_t size() const { return bytes_.size(); }
  const std::vector<std::uint8_t>& bytes() const { return bytes_; }
  std::vector<std::uint8_t> take() { return std::move(bytes_); }

  static std::uint32_t checked_length(std::size_t n) {
    assert(n <= std::numeric_limits<std::uint32_t>::max());
    return static_cast<std::uint32_t>(n);
  }

 private:
  std::vector<std::uint8_t> bytes_;
};

}  // namespace lyr
