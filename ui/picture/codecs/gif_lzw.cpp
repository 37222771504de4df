#include "ui/picture/codecs/gif_lzw.h"

#include <algorithm>
#include <array>
#include <memory>

namespace lyr::picture {
namespace {

constexpr int kMaxCodeBits = 12;
constexpr std::uint32_t kTableSize = 1u << kMaxCodeBits;
constexpr std::uint16_t kNoCode = 0xFFFF;

class BitReader {
 public:
  explicit BitReader(std::span<const std::uint8_t> data) : data_(data) {}
  bool read(int bits, std::uint32_t& code) {
    while (count_ < bits) {
      if (pos_ >= data_.size()) return false;
      acc_ |= std::uint32_t{data_[pos_++]} << count_;
      count_ += 8;
    }
    code = acc_ & ((1u << bits) - 1);
    acc_ >>= bits;
    count_ -= bits;
    return true;
  }

 private:
  std::span<const std::uint8_t> data_;
  std::size_t pos_ = 0;
  std::uint32_t acc_ = 0;
  int count_ = 0;
};

// All decoder state lives here and is built fresh for every frame.
struct Table {
  std::array<std::uint16_t, kTableSize> prefix;
  std::array<std::uint8_t, kTableSize> suffix;
  std::array<std::uint8_t, kTableSize> first;
  std::array<std::uint16_t, kTableSize> length;
};

}  // namespace

Result<std::size_t> decode_gif_lzw(std::span<const std::uint8_t> data, int min_code_size,
                                   std::span<std::uint8_t> out) {
  if (min_code_size < 1 || min_code_size > 8) return fail("LZW minimum code size out of range");
  const std::uint32_t clear = 1u << min_code_size;
  const std::uint32_t end = clear + 1;
  auto table = std::make_unique<Table>();
  for (std::uint32_t i = 0; i < clear; ++i) {
    table->prefix[i] = kNoCode;
    table->suffix[i] = static_cast<std::uint8_t>(i);
    table->first[i] = static_cast<std::uint8_t>(i);
    table->length[i] = 1;
  }
  std::uint32_t next = clear + 2;
  int code_bits = min_code_size + 1;
  std::uint32_t prev = kNoCode;
  std::size_t written = 0;
  BitReader bits(data);
  std::uint32_t code = 0;
  while (written < out.size() && bits.read(code_bits, code)) {
    if (code == clear) {
      next = clear + 2;
      code_bits = min_code_size + 1;
      prev = kNoCode;
      continue;
    }
    if (code == end) break;
    if (prev == kNoCode) {
      // Without a previous string only the root codes make sense.
      if (code >= clear) return fail("LZW code without a previous string");
    } else {
      if (code > next || (code == next && next >= kTableSize))
        return fail("LZW code above the next free slot");
      if (next < kTableSize) {
        const std::uint8_t first = code < next ? table->first[code] : table->first[prev];
        table->prefix[next] = static_cast<std::uint16_t>(prev);
        table->suffix[next] = first;
        table->first[next] = table->first[prev];
        table->length[next] = static_cast<std::uint16_t>(table->length[prev] + 1);
        ++next;
        if (next == (1u << code_bits) && code_bits < kMaxCodeBits) ++code_bits;
      }
    }
    // Expand the string backwards from its last character; characters past out are dropped.
    const std::size_t length = table->length[code];
    std::uint32_t c = code;
    for (std::size_t i = length; i-- > 0;) {
      if (written + i < out.size()) out[written + i] = table->suffix[c];
      c = table->prefix[c];
    }
    written = std::min(out.size(), written + length);
    prev = code;
  }
  return written;
}

}  // namespace lyr::picture
