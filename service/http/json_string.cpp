#include "service/http/json_string.h"

#include <array>

#include "service/text/utf8.h"

namespace lyr::service {

namespace {

// Bytes that end a run of text copied as it is: quotes, backslashes, control characters and,
// in text that is not valid UTF-8, every byte from 0x80 on.
constexpr std::array<bool, 256> stops(bool high) {
  std::array<bool, 256> t{};
  for (int c = 0; c < 256; ++c) t[c] = c < 0x20 || c == '"' || c == '\\' || c == 0x7F || (high && c >= 0x80);
  return t;
}
constexpr auto kStopsValid = stops(false);
constexpr auto kStopsAny = stops(true);

}  // namespace

void append_json_string(std::string& out, std::string_view s, Quote quote) {
  static constexpr char kHex[] = "0123456789abcdef";
  // Valid text, the common case, is copied in runs between the few bytes that need escaping.
  const auto& stop = valid_utf8(s) ? kStopsValid : kStopsAny;
  out.push_back('"');
  std::size_t pos = 0;
  while (pos < s.size()) {
    std::size_t run = pos;
    while (run < s.size() && !stop[static_cast<unsigned char>(s[run])]) ++run;
    out.append(s.data() + pos, run - pos);
    pos = run;
    if (pos >= s.size()) break;
    unsigned char c = static_cast<unsigned char>(s[pos]);
    if (c >= 0x80) {
      std::size_t start = pos;
      char32_t cp = next_code_point(s, pos);
      if (cp == U'\uFFFD' && pos == start + 1)
        append_utf8(out, cp);  // not UTF-8
      else
        out.append(s.data() + start, pos - start);
      continue;
    }
    ++pos;
    if (c == '"' && quote == Quote::escaped) {
      out += "\\\"";
    } else if (c == '\\') {
      out += "\\\\";
    } else if (c == '\n' && quote == Quote::escaped) {
      out += "\\n";
    } else if (c == '\r' && quote == Quote::escaped) {
      out += "\\r";
    } else if (c == '\t' && quote == Quote::escaped) {
      out += "\\t";
    } else {
      out += "\\u00";
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 15]);
    }
  }
  out.push_back('"');
}

}  // namespace lyr::service
