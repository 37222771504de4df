#include "platform/inet/url_encoding.h"

#include "platform/kernel/codepage.h"

namespace platform::inet {

std::string encode_for_wire(std::string_view ansi) {
  std::string utf8 = platform::codepage::ansi_to_utf8(ansi);
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(utf8.size());
  for (unsigned char c : utf8) {
    if (c <= 0x20 || c >= 0x7F) {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace platform::inet
