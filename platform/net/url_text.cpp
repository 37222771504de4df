#include "platform/net/url_text.h"

#include <cstring>

namespace platform::net {
namespace {

bool passes_as_is(unsigned char c) {
  return c > 0x20 && c < 0x7F && std::strchr("\"<>\\^`{|}", c) == nullptr;
}

bool starts_nocase(std::string_view text, std::string_view lower_prefix) {
  if (text.size() < lower_prefix.size()) return false;
  for (std::size_t i = 0; i < lower_prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != lower_prefix[i]) return false;
  }
  return true;
}

}  // namespace

std::string percent_encode_url(std::string_view utf8) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(utf8.size());
  for (char ch : utf8) {
    auto c = static_cast<unsigned char>(ch);
    if (passes_as_is(c)) {
      out += ch;
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    }
  }
  return out;
}

bool is_http_url(std::string_view url) {
  return starts_nocase(url, "http://") || starts_nocase(url, "https://");
}

}  // namespace platform::net
