#include "service/text/match_key.h"

#include <array>

#include "service/text/utf8.h"

namespace lyr::service {

namespace {

// Full-width forms of U+FF61..U+FF9F, in order.
constexpr std::array<char16_t, 63> kHalfWidthKana = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9, 0x30E3, 0x30E5,
    0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB, 0x30AD, 0x30AF, 0x30B1, 0x30B3,
    0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1, 0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC,
    0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4,
    0x30E6, 0x30E8, 0x30E9, 0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x3099, 0x309A};

// Control characters count as white space: a key never holds one (the index ends keys with NUL).
bool is_space(char32_t c) {
  return c <= ' ' || c == 0x7F || c == 0xA0 || c == 0x3000 || (c >= 0x2000 && c <= 0x200B) || c == 0xFEFF;
}

bool is_punctuation(char32_t c) {
  if (c < 0x80)
    return (c >= '!' && c <= '/') || (c >= ':' && c <= '@') || (c >= '[' && c <= '`') ||
           (c >= '{' && c <= '~');
  return c == 0xA1 || c == 0xA7 || c == 0xAB || c == 0xB4 || c == 0xB7 || c == 0xBB || c == 0xBF ||
         (c >= 0x2010 && c <= 0x205E) || (c >= 0x3001 && c <= 0x3003) || (c >= 0x3008 && c <= 0x3011) ||
         (c >= 0x3014 && c <= 0x301F) || c == 0x30FB;
}

char32_t fold_width(char32_t c) {
  if (c >= 0xFF01 && c <= 0xFF5E) return c - 0xFEE0;
  if (c >= 0xFF61 && c <= 0xFF9F) return kHalfWidthKana[c - 0xFF61];
  return c;
}

char32_t fold_case(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 0x20;
  if (c < 0xC0) return c;
  if (c <= 0xDE && c != 0xD7) return c + 0x20;
  if (c >= 0x100 && c <= 0x17F && c % 2 == 0 && c != 0x130 && c != 0x138) return c + 1;
  if (c >= 0x391 && c <= 0x3A9) return c + 0x20;
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  return c;
}

// Joins a voiced or semi-voiced mark with the katakana before it, as the full-width forms do.
bool join_mark(char32_t& base, char32_t mark) {
  bool ha_row = base >= 0x30CF && base <= 0x30DB && (base - 0x30CF) % 3 == 0;
  bool voiceable = (base >= 0x30AB && base <= 0x30C1 && base % 2 == 1) ||
                   (base >= 0x30C4 && base <= 0x30C8 && base % 2 == 0) || ha_row;
  if (mark == 0x3099) {
    if (base == 0x30A6) return base = 0x30F4, true;
    if (voiceable) return base += 1, true;
  } else if (mark == 0x309A && ha_row) {
    return base += 2, true;
  }
  return false;
}

}  // namespace

std::string match_key(std::string_view text) {
  std::string key;
  key.reserve(text.size());
  char32_t pending = 0;
  auto flush = [&] {
    if (pending) append_utf8(key, pending);
    pending = 0;
  };
  std::size_t pos = 0;
  while (pos < text.size()) {
    unsigned char b = static_cast<unsigned char>(text[pos]);
    if (b < 0x80 && !pending) {
      // ASCII fast path: most titles and artists are plain Latin.
      ++pos;
      if (b >= 'A' && b <= 'Z') b += 0x20;
      if (!is_space(b) && !is_punctuation(b)) key.push_back(static_cast<char>(b));
      continue;
    }
    char32_t c = fold_case(fold_width(next_code_point(text, pos)));
    if ((c == 0x3099 || c == 0x309A) && pending && join_mark(pending, c)) continue;
    flush();
    if (is_space(c) || is_punctuation(c) || c == 0x3099 || c == 0x309A) continue;
    pending = c;
  }
  flush();
  return key;
}

}  // namespace lyr::service
