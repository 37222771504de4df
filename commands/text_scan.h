// Scanning text in the system code page (GB18030) character by character.
// Contract:
// - A byte below 0x80 is one character. A byte with the high bit set starts a character of two
//   bytes, or of four when the next three bytes have the GB18030 form digit, high byte, digit.
//   A character cut short by the end of the text ends the scan: no match starts on it or after.
// - find_exact / find_folded answer the first position >= `from` where `sought` (not empty)
//   matches and that starts a character when the walk begins at `from`; npos when none.
//   find_folded folds ASCII letters only; high bytes and the bytes of double-byte characters
//   compare exactly.
// - The text is scanned in place, never copied.
#pragma once

#include <cstddef>
#include <string_view>

namespace commands {

inline constexpr std::size_t kNoMatch = std::string_view::npos;

// Width of the character at `at` (1, 2 or 4), or 0 when it is cut short by the end.
std::size_t char_width(std::string_view text, std::size_t at);

// Walks character starts forward; the walk restarts wherever the caller says one begins.
class CharWalker {
 public:
  CharWalker(std::string_view text, std::size_t start) : text_(text), at_(start) {}

  enum class Reach { start, inside, ended };
  // Walks up to `target` and tells whether a character starts there. After `inside` the walker
  // stands on the first character start past `target`.
  Reach reach(std::size_t target);
  std::size_t position() const { return at_; }
  void restart(std::size_t at) { at_ = at; }

 private:
  std::size_t nearest_start_before(std::size_t target) const;

  std::string_view text_;
  std::size_t at_;
};

std::size_t find_exact(std::string_view text, std::string_view sought, CharWalker& walker, std::size_t from);
std::size_t find_folded(std::string_view text, std::string_view sought, std::size_t from);

}  // namespace commands
