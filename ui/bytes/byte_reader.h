// ByteReader: bounds-checked little-endian reads from untrusted bytes: picture files, the window
// template block and unit property blocks.
// Contract: every read either returns the value and advances, or returns nothing and leaves the
// position unchanged; nothing is ever read outside the bytes handed in. Offsets, counts and
// lengths are 64-bit, so offset + length and count × width from a file cannot wrap. sub(n)
// hands out the next n bytes as a reader of their own (and skips them here), so a record can
// never read into its neighbour. The reader never owns the bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace lyr {

class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes, std::size_t base = 0)
      : bytes_(bytes), base_(base) {}

  std::size_t position() const { return pos_; }
  // Position counted from the start of the outermost reader (for error reports).
  std::size_t absolute() const { return base_ + pos_; }
  std::size_t size() const { return bytes_.size(); }
  std::size_t remaining() const { return bytes_.size() - pos_; }
  bool at_end() const { return pos_ >= bytes_.size(); }
  // Whether count items of width bytes each still fit.
  bool fits(std::uint64_t count, std::uint64_t width) const {
    return width == 0 || count <= remaining() / width;
  }

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
    const std::uint8_t* p = bytes_.data() + pos_;
    pos_ += 2;
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
  }
  std::optional<std::uint32_t> u32() {
    if (remaining() < 4) return std::nullopt;
    const std::uint8_t* p = bytes_.data() + pos_;
    pos_ += 4;
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
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
  std::optional<ByteReader> sub(std::uint64_t count) {
    const std::size_t start = absolute();
    auto s = bytes(count);
    if (!s) return std::nullopt;
    return ByteReader(*s, start);
  }
  // A NUL-terminated text; nothing when the bytes end before the NUL.
  std::optional<std::string> c_text() {
    for (std::size_t i = pos_; i < bytes_.size(); ++i) {
      if (bytes_[i] == 0) {
        std::string text(reinterpret_cast<const char*>(bytes_.data() + pos_), i - pos_);
        pos_ = i + 1;
        return text;
      }
    }
    return std::nullopt;
  }
  // A u32 length followed by that many bytes.
  std::optional<std::span<const std::uint8_t>> counted() {
    const std::size_t start = pos_;
    auto length = u32();
    if (!length) return std::nullopt;
    auto s = bytes(*length);
    if (!s) pos_ = start;
    return s;
  }
  std::optional<std::string> counted_text() {
    auto s = counted();
    if (!s) return std::nullopt;
    return std::string(reinterpret_cast<const char*>(s->data()), s->size());
  }
  std::optional<std::vector<std::uint8_t>> counted_bytes() {
    auto s = counted();
    if (!s) return std::nullopt;
    return std::vector<std::uint8_t>(s->begin(), s->end());
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t base_ = 0;
  std::size_t pos_ = 0;
};

// The view [offset, offset + length) of bytes, or nothing when any part lies outside.
inline std::optional<std::span<const std::uint8_t>> checked_slice(std::span<const std::uint8_t> bytes,
                                                                  std::uint64_t offset,
                                                                  std::uint64_t length) {
  if (offset > bytes.size() || length > bytes.size() - offset) return std::nullopt;
  return bytes.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(length));
}

}  // namespace lyr
