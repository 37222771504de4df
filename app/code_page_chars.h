// Stepping through system-code-page (GB18030) text one character at a time, so that a byte
// test never mistakes the second byte of a double-byte character (0x40 to 0xFE: '\', '|', '[')
// for the ASCII character of the same value.
// Contract: char_length answers 1 for ASCII and for a byte that starts no valid sequence
// (a stray or cut-off lead byte), 2 or 4 for a whole double- or four-byte character; never
// more than the bytes left.
#pragma once

#include <cstddef>
#include <string_view>

namespace app {

inline std::size_t char_length(std::string_view text, std::size_t at) {
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  auto in = [](unsigned char b, unsigned char lo, unsigned char hi) { return b >= lo && b <= hi; };
  if (!in(byte(at), 0x81, 0xFE) || at + 1 >= text.size()) return 1;
  const unsigned char second = byte(at + 1);
  if (in(second, 0x40, 0xFE) && second != 0x7F) return 2;
  if (in(second, 0x30, 0x39) && at + 3 < text.size() && in(byte(at + 2), 0x81, 0xFE) &&
      in(byte(at + 3), 0x30, 0x39))
    return 4;
  return 1;
}

// The most bytes a character of `length` code-page bytes takes in UTF-8, the file system's
// encoding: double-byte characters all lie in the Basic Multilingual Plane.
inline std::size_t utf8_bound(std::size_t length) {
  return length == 1 ? 1 : length == 2 ? 3 : 4;
}

}  // namespace app
