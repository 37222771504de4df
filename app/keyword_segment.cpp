#include "app/keyword_segment.h"

#include <cstring>

#include "app/code_page_chars.h"

namespace app {
namespace {

void append_escape(std::string& out, unsigned char c) {
  static const char kHex[] = "0123456789ABCDEF";
  out += '%';
  out += kHex[c >> 4];
  out += kHex[c & 0xF];
}

}  // namespace

std::string keyword_segment(std::string_view keyword) {
  std::string out;
  if (keyword == "." || keyword == "..") {
    for (char c : keyword) append_escape(out, static_cast<unsigned char>(c));
    return out;
  }
  out.reserve(keyword.size());
  for (std::size_t at = 0; at < keyword.size();) {
    const std::size_t n = char_length(keyword, at);
    const char c = keyword[at];
    if (n == 1 && c != '\0' && std::strchr("/?#%", c) != nullptr) {
      append_escape(out, static_cast<unsigned char>(c));
    } else {
      out.append(keyword, at, n);
    }
    at += n;
  }
  return out;
}

}  // namespace app
