#include "service/text/utf8.h"

#include <cstdint>

namespace lyr::service {

namespace {

// Length of the sequence starting at `pos` and its value, or 0 when the sequence is invalid.
std::size_t decode_at(std::string_view s, std::size_t pos, char32_t& cp) {
  auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(s[i]); };
  std::uint8_t b0 = byte(pos);
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  std::size_t len;
  char32_t min;
  if ((b0 & 0xE0) == 0xC0) {
    len = 2, cp = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3, cp = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4, cp = b0 & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (s.size() - pos < len) return 0;
  for (std::size_t i = 1; i < len; ++i) {
    std::uint8_t b = byte(pos + i);
    if ((b & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

}  // namespace

bool valid_utf8(std::string_view bytes) {
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    // Runs of ASCII are the common case in lyric files; skip them eight at a time.
    while (pos + 8 <= bytes.size()) {
      std::uint64_t word = 0;
      for (int i = 0; i < 8; ++i) word |= std::uint64_t(static_cast<std::uint8_t>(bytes[pos + i])) << (8 * i);
      if (word & 0x8080808080808080ull) break;
      pos += 8;
    }
    if (pos >= bytes.size()) break;
    char32_t cp;
    std::size_t len = decode_at(bytes, pos, cp);
    if (len == 0) return false;
    pos += len;
  }
  return true;
}

char32_t next_code_point(std::string_view text, std::size_t& pos) {
  char32_t cp;
  std::size_t len = decode_at(text, pos, cp);
  if (len == 0) {
    ++pos;
    return U'\uFFFD';
  }
  pos += len;
  return cp;
}

void append_utf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace lyr::service
