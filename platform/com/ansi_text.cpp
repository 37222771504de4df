#include "platform/com/ansi_text.h"

#include <iconv.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/kernel/iconv_handle.h"

namespace platform::com {
namespace {

// The GB18030 bytes of every BMP character (surrogates answer '?').
class BmpTable {
 public:
  BmpTable() : entries_(0x10000, Entry{{'?'}, 1}) {
    const codepage::IconvHandle cd("GB18030", "UTF-16LE");
    if (!cd.ok()) return;
    for (std::uint32_t c = 0; c < 0x10000; ++c) {
      if (c >= 0xD800 && c <= 0xDFFF) continue;
      auto unit = static_cast<char16_t>(c);
      char* in = reinterpret_cast<char*>(&unit);
      std::size_t in_left = sizeof unit;
      char out[8];
      char* dst = out;
      std::size_t dst_left = sizeof out;
      std::size_t r = iconv(cd.get(), &in, &in_left, &dst, &dst_left);
      std::size_t n = sizeof out - dst_left;
      if (r != static_cast<std::size_t>(-1) && n >= 1 && n <= 4) {
        std::memcpy(entries_[c].bytes, out, n);
        entries_[c].length = static_cast<std::uint8_t>(n);
      }
      iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
    }
  }
  // One entry a character, its bytes and their count side by side.
  struct Entry {
    char bytes[4];
    std::uint8_t length;
  };
  const Entry& operator[](char16_t c) const { return entries_[c]; }

 private:
  std::vector<Entry> entries_;
};

const BmpTable& table() {
  static const BmpTable t;
  return t;
}

bool high(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool low(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

// Characters beyond the BMP map linearly onto four-byte sequences from 0x90308130.
void supplementary(std::uint32_t cp, char* out) {
  std::uint32_t offset = cp - 0x10000;
  out[0] = static_cast<char>(0x90 + offset / 12600);
  out[1] = static_cast<char>(0x30 + offset / 1260 % 10);
  out[2] = static_cast<char>(0x81 + offset / 10 % 126);
  out[3] = static_cast<char>(0x30 + offset % 10);
}

}  // namespace

std::size_t ansi_encode(std::u16string_view text, char* const begin) {
  const BmpTable& t = table();
  char* out = begin;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c < 0x80) {
      *out++ = static_cast<char>(c);
    } else if (high(c) && i + 1 < text.size() && low(text[i + 1])) {
      supplementary(0x10000 + ((static_cast<std::uint32_t>(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00), out);
      out += 4;
      ++i;
    } else {
      const BmpTable::Entry& e = t[c];
      std::memcpy(out, e.bytes, e.length);
      out += e.length;
    }
  }
  return static_cast<std::size_t>(out - begin);
}

}  // namespace platform::com
