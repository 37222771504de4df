// BlockReader: bounds-checked little-endian reads over one region of a template block.
// Contract: every read either returns the value and advances, or returns nothing and leaves the
// position unchanged; nothing is ever read outside the region. Counts and lengths are taken as
// 64-bit so that count × width and offset + length cannot wrap. sub(n) hands out the next n
// bytes as a reader of their own (and skips them here), so a record can never read into its
// neighbour.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace ui::templates {

class BlockReader {
 public:
  explicit BlockReader(std::span<const std::uint8_t> bytes, std::size_t base = 0)
      : bytes_(bytes), base_(base) {}

  std::size_t position() const { return pos_; }
  // Position counted from the start of the outermost region (for error reports).
  std::size_t absolute() const { return base_ + pos_; }
  std::size_t remaining() const { return bytes_.size() - pos_; }
  bool at_end() const { return pos_ == bytes_.size(); }
  // Whether count items of width bytes each still fit.
  bool fits(std::uint64_t count, std::uint64_t width) const {
    return width == 0 || count <= remaining() / width;
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
  std::optional<std::span<const std::uint8_t>> bytes(std::uint64_t count) {
    if (count > remaining()) return std::nullopt;
    auto s = bytes_.subspan(pos_, static_cast<std::size_t>(count));
    pos_ += static_cast<std::size_t>(count);
    return s;
  }
  std::optional<BlockReader> sub(std::uint64_t count) {
    std::size_t start = absolute();
    auto s = bytes(count);
    if (!s) return std::nullopt;
    return BlockReader(*s, start);
  }
  // A NUL-terminated text; nothing when the region ends before the NUL.
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
  // A u32 length followed by that many bytes, as text.
  std::optional<std::string> counted_text() {
    std::size_t start = pos_;
    auto length = u32();
    if (!length) return std::nullopt;
    auto s = bytes(*length);
    if (!s) {
      pos_ = start;
      return std::nullopt;
    }
    return std::string(reinterpret_cast<const char*>(s->data()), s->size());
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t base_ = 0;
  std::size_t pos_ = 0;
};

}  // namespace ui::templates
