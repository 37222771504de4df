#include "platform/kernel/wildcard.h"

#include <cctype>

#include "platform/kernel/codepage.h"

namespace platform::kernel {
namespace {

bool same_char(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  if (a.size() == 1)
    return std::tolower(static_cast<unsigned char>(a[0])) == std::tolower(static_cast<unsigned char>(b[0]));
  return a == b;
}

std::string_view char_at(std::string_view s, std::size_t i) {
  return s.substr(i, codepage::ansi_char_length(s.substr(i)));
}

}  // namespace

bool has_wildcards(std::string_view pattern) {
  return pattern.find_first_of("*?") != std::string_view::npos;
}

bool wildcard_match(std::string_view pattern, std::string_view name) {
  if (pattern == "*.*") return true;
  // Greedy matching with one backtrack point: linear in practice, no recursion.
  std::size_t p = 0, n = 0;
  std::size_t star_p = std::string_view::npos, star_n = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star_p = ++p;
      star_n = n;
      continue;
    }
    std::string_view nc = char_at(name, n);
    if (p < pattern.size()) {
      std::string_view pc = char_at(pattern, p);
      if ((pc == "?") || same_char(pc, nc)) {
        p += pc.size();
        n += nc.size();
        continue;
      }
    }
    if (star_p == std::string_view::npos) return false;
    // Let the last star swallow one more character and retry.
    star_n += char_at(name, star_n).size();
    n = star_n;
    p = star_p;
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace platform::kernel
