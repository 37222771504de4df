#include "service/http/replies.h"

#include "service/http/json_string.h"

namespace lyr::service {

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
    append_json_string(out, lyric_url(base_url, h.aid), Quote::unicode);
    out += ", \"song\": ";
    append_json_string(out, h.title, Quote::unicode);
    out += ", \"artist\": ";
    append_json_string(out, h.artist, Quote::unicode);
    out += ", \"album\": ";
    append_json_string(out, h.album, Quote::unicode);
    out += "}";
  }
  out += "]}";
  return out;
}

std::string cover_reply(const std::optional<std::string>& url) {
  if (!url) return "{\"count\": 0, \"code\": 0, \"result\": {}}";
  std::string out = "{\"count\": 1, \"code\": 0, \"result\": {\"cover\": ";
  append_json_string(out, *url, Quote::unicode);
  out += "}}";
  return out;
}

}  // namespace lyr::service
