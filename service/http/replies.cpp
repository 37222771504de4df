#include "service/http/replies.h"

#include "service/text/utf8.h"

namespace lyr::service {

void append_json_string(std::string& out, std::string_view s) {
  static constexpr char kHex[] = "0123456789abcdef";
  out.push_back('"');
  std::size_t pos = 0;
  while (pos < s.size()) {
    unsigned char c = static_cast<unsigned char>(s[pos]);
    if (c >= 0x80) {
      // Whatever the source held, the reply is valid UTF-8.
      append_utf8(out, next_code_point(s, pos));
      continue;
    }
    ++pos;
    if (c == '"') {
      out += "\\u0022";
    } else if (c == '\\') {
      out += "\\\\";
    } else if (c < 0x20 || c == 0x7F) {
      out += "\\u00";
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 15]);
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
  out.push_back('"');
}

std::string lyric_url(std::string_view base_url, std::uint64_t aid) {
  return std::string(base_url) + "/lrc/" + std::to_string(aid) + ".lrc";
}

std::string cover_url(std::string_view base_url, std::uint64_t aid, std::string_view ext) {
  return std::string(base_url) + "/cover/" + std::to_string(aid) + "." + std::string(ext);
}

std::string lyric_reply(std::span<const SearchHit> hits, std::string_view base_url) {
  std::string out = "{\"count\": " + std::to_string(hits.size()) + ", \"code\": 0, \"result\": [";
  out.reserve(64 + hits.size() * (base_url.size() + 96));
  bool first = true;
  for (const auto& h : hits) {
    if (!first) out += ", ";
    first = false;
    out += "{\"aid\": ";
    out += std::to_string(h.aid);
    out += ", \"lrc\": ";
    append_json_string(out, lyric_url(base_url, h.aid));
    out += ", \"song\": ";
    append_json_string(out, *h.title);
    out += ", \"artist\": ";
    append_json_string(out, *h.artist);
    out += ", \"album\": ";
    append_json_string(out, *h.album);
    out += "}";
  }
  out += "]}";
  return out;
}

std::string cover_reply(const std::optional<std::string>& url) {
  if (!url) return "{\"count\": 0, \"code\": 0, \"result\": {}}";
  std::string out = "{\"count\": 1, \"code\": 0, \"result\": {\"cover\": ";
  append_json_string(out, *url);
  out += "}}";
  return out;
}

}  // namespace lyr::service
