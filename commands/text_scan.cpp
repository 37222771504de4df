#include "commands/text_scan.h"

#include <cstdint>
#include <cstring>

namespace commands {
namespace {

bool high(unsigned char c) {
  return c >= 0x80;
}
bool digit(unsigned char c) {
  return c >= 0x30 && c <= 0x39;
}
unsigned char byte_at(std::string_view text, std::size_t i) {
  return static_cast<unsigned char>(text[i]);
}

// Eight bytes without a high bit are eight one-byte characters.
bool ascii_word(const char* p) {
  std::uint64_t w;
  std::memcpy(&w, p, sizeof w);
  return (w & 0x8080808080808080ull) == 0;
}

unsigned char fold(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

// Compares `sought` at `at`, folding the ASCII letters that start a character of `sought`.
bool folded_equal(std::string_view text, std::size_t at, std::string_view sought) {
  std::size_t i = 0;
  while (i < sought.size()) {
    const auto s = byte_at(sought, i);
    if (!high(s)) {
      if (fold(s) != fold(byte_at(text, at + i))) return false;
      ++i;
      continue;
    }
    std::size_t w = char_width(sought, i);
    if (w == 0) w = sought.size() - i;
    if (std::memcmp(text.data() + at + i, sought.data() + i, w) != 0) return false;
    i += w;
  }
  return true;
}

}  // namespace

// Two bytes below 0x80 in a row: the first ends a character (a lone byte, or the last byte of
// a pair or of a four-byte character, whose second byte is followed by a high byte), so the
// second is a character of its own. Looking back for such a pair saves walking from far away.
std::size_t CharWalker::nearest_start_before(std::size_t target) const {
  for (std::size_t q = target; q > at_; --q) {
    if (!high(byte_at(text_, q - 1)) && q < text_.size() && !high(byte_at(text_, q))) return q;
  }
  return at_;
}

std::size_t char_width(std::string_view text, std::size_t at) {
  const auto c = byte_at(text, at);
  if (!high(c)) return 1;
  const std::size_t left = text.size() - at;
  if (left < 2) return 0;
  if (!digit(byte_at(text, at + 1))) return 2;
  if (left >= 4 && high(byte_at(text, at + 2)) && digit(byte_at(text, at + 3))) return 4;
  // A lead byte and a digit that do not go on as a four-byte character: a (malformed) pair.
  return 2;
}

CharWalker::Reach CharWalker::reach(std::size_t target) {
  const char* data = text_.data();
  if (target > at_) at_ = nearest_start_before(target);
  while (at_ < target) {
    if (at_ + 8 <= target && ascii_word(data + at_)) {
      at_ += 8;
      continue;
    }
    const std::size_t w = char_width(text_, at_);
    if (w == 0) {
      at_ = text_.size();
      return Reach::ended;
    }
    at_ += w;
  }
  if (at_ == target) return char_width(text_, at_) == 0 ? Reach::ended : Reach::start;
  return Reach::inside;
}

std::size_t find_exact(std::string_view text, std::string_view sought, CharWalker& walker, std::size_t from) {
  std::size_t pos = from;
  while (pos < text.size() && text.size() - pos >= sought.size()) {
    const void* hit = memmem(text.data() + pos, text.size() - pos, sought.data(), sought.size());
    if (hit == nullptr) return kNoMatch;
    const auto candidate = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
    switch (walker.reach(candidate)) {
      case CharWalker::Reach::start:
        return candidate;
      case CharWalker::Reach::ended:
        return kNoMatch;
      case CharWalker::Reach::inside:
        pos = walker.position();
        break;
    }
  }
  return kNoMatch;
}

std::size_t find_folded(std::string_view text, std::string_view sought, std::size_t from) {
  std::size_t at = from;
  while (at < text.size() && text.size() - at >= sought.size()) {
    const std::size_t w = char_width(text, at);
    if (w == 0) return kNoMatch;
    if (folded_equal(text, at, sought)) return at;
    at += w;
  }
  return kNoMatch;
}

}  // namespace commands
