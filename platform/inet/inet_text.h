// Small text checks shared by the internet client functions: header names compare without
// case, header text is trimmed of blanks and line ends, and text that ends up in a request
// head must be a single line.
#pragma once

#include <string_view>

namespace platform::inet {

constexpr char ascii_lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool equal_nocase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
  return true;
}

constexpr bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

constexpr std::string_view trim(std::string_view s) {
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
  return s;
}

constexpr bool single_line(std::string_view text) {
  return text.find_first_of("\r\n") == std::string_view::npos;
}

}  // namespace platform::inet
