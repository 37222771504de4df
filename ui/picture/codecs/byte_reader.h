// ByteReader: bounds-checked little-endian reads from untrusted bytes.
// Contract: every read either returns the value and advances, or returns nothing and leaves
// the position unchanged. Offsets and lengths are 64-bit, so offset + length from a file
// cannot wrap. The reader never owns the bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace lyr::picture {

class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::size_t position() const { return pos_; }
  std::size_t size() const { return bytes_.size(); }
  std::size_t remaining() const { return bytes_.size() - pos_; }
  bool at_end() const { return pos_ >= bytes_.size(); }

  // Moves to an absolute offset; false (position unchanged) when past the end.
  bool seek(std::uint64_t offset) {
    if (offset > bytes_.size()) return false;
    pos_ = static_cast<std::size_t>(offset);
    return true;
  }
  bool skip(std::uint64_t count) {
    if (count > remaining()) return false;
    pos_ += static_cast<std::size_t>(count);
    return true;
  }

  std::optional<std::uint8_t> u8() {
    if (remaining() < 1) return std::nullopt;
    return bytes_[pos_++];
  }
  std::optional<std::uint16_t> u16() {
    if (remaining() < 2) return std::nullopt;
    std::uint16_t v = static_cast<std::uint16_t>(bytes_[pos_] | (bytes_[pos_ + 1] << 8));
    pos_ += 2;
    return v;
  }
  std::optional<std::uint32_t> u32() {
    if (remaining() < 4) return std::nullopt;
    std::uint32_t v = static_cast<std::uint32_t>(bytes_[pos_]) |
                      (static_cast<std::uint32_t>(bytes_[pos_ + 1]) << 8) |
                      (static_cast<std::uint32_t>(bytes_[pos_ + 2]) << 16) |
                      (static_cast<std::uint32_t>(bytes_[pos_ + 3]) << 24);
    pos_ += 4;
    return v;
  }
  std::optional<std::int32_t> i32() {
    auto v = u32();
    if (!v) return std::nullopt;
    return static_cast<std::int32_t>(*v);
  }
  // The next count bytes as a view; nothing when fewer remain.
  std::optional<std::span<const std::uint8_t>> bytes(std::uint64_t count) {
    if (count > remaining()) return std::nullopt;
    auto s = bytes_.subspan(pos_, static_cast<std::size_t>(count));
    pos_ += static_cast<std::size_t>(count);
    return s;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
};

// The view [offset, offset + length) of bytes, or nothing when any part lies outside.
inline std::optional<std::span<const std::uint8_t>> checked_slice(std::span<const std::uint8_t> bytes,
                                                                  std::uint64_t offset,
                                                                  std::uint64_t length) {
  if (offset > bytes.size() || length > bytes.size() - offset) return std::nullopt;
  return bytes.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(length));
}

}  // namespace lyr::picture
