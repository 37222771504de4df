#include "service/upstream/upstream_client.h"

#include <httplib.h>

#include <nlohmann/json.hpp>

namespace lyr::service {

namespace {

using json = nlohmann::json;

constexpr std::size_t kMaxReply = 8u << 20;

std::string text_field(const json& o, const char* key) {
  auto it = o.find(key);
  return it != o.end() && it->is_string() ? it->get<std::string>() : std::string();
}

std::optional<UpstreamHit> hit_from(const json& o) {
  if (!o.is_object()) return std::nullopt;
  auto id = o.find("id");
  if (id == o.end() || !id->is_number_integer()) return std::nullopt;
  UpstreamHit hit;
  hit.id = id->get<long long>();
  hit.title = text_field(o, "trackName");
  hit.artist = text_field(o, "artistName");
  hit.album = text_field(o, "albumName");
  hit.lyrics = text_field(o, "syncedLyrics");
  if (hit.lyrics.empty()) hit.lyrics = text_field(o, "plainLyrics");
  if (hit.lyrics.empty()) return std::nullopt;
  return hit;
}

std::string trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return std::string(s);
}

}  // namespace

std::vector<UpstreamHit> parse_upstream_search(std::string_view body) {
  std::vector<UpstreamHit> hits;
  json doc = json::parse(body, nullptr, false);
  if (!doc.is_array()) return hits;
  for (const auto& item : doc)
    if (auto hit = hit_from(item)) hits.push_back(std::move(*hit));
  return hits;
}

std::optional<UpstreamHit> parse_upstream_record(std::string_view body) {
  json doc = json::parse(body, nullptr, false);
  return hit_from(doc);
}

UpstreamClient::UpstreamClient(std::string_view base_url, std::chrono::milliseconds timeout)
    : url_(base_url), timeout_(timeout) {
  std::size_t scheme_end = url_.find("://");
  if (scheme_end == std::string::npos) return;
  std::string scheme = url_.substr(0, scheme_end);
  if (scheme != "http" && scheme != "https") return;
  std::size_t path_start = url_.find('/', scheme_end + 3);
  std::string host = url_.substr(
      scheme_end + 3, path_start == std::string::npos ? std::string::npos : path_start - scheme_end - 3);
  if (host.empty()) return;
  origin_ = scheme + "://" + host;
  if (path_start != std::string::npos) prefix_ = url_.substr(path_start);
  while (!prefix_.empty() && prefix_.back() == '/') prefix_.pop_back();
}

std::optional<std::string> UpstreamClient::fetch(const std::string& path_and_query) const {
  if (!valid()) return std::nullopt;
  httplib::Client client(origin_);
  if (!client.is_valid()) return std::nullopt;
  client.set_connection_timeout(timeout_);
  client.set_read_timeout(timeout_);
  client.set_write_timeout(timeout_);
  client.set_follow_location(true);
  // The read time-out bounds each wait; this bounds the whole reply.
  auto deadline = std::chrono::steady_clock::now() + timeout_;
  std::string body;
  auto res = client.Get(prefix_ + path_and_query, httplib::Headers{{"User-Agent", "lyric-service"}},
                        [&](const char* data, std::size_t n) {
                          body.append(data, n);
                          return body.size() <= kMaxReply && std::chrono::steady_clock::now() < deadline;
                        });
  if (!res || res->status != 200) return std::nullopt;
  return body;
}

std::vector<UpstreamHit> UpstreamClient::search(std::string_view title, std::string_view artist) const {
  std::string t = trimmed(title), a = trimmed(artist);
  httplib::Params params;
  if (!t.empty()) params.emplace("track_name", t);
  if (!a.empty()) params.emplace("artist_name", a);
  // The database wants a title or a free query; an artist alone goes in as the query.
  if (t.empty()) params.emplace("q", a);
  if (params.empty()) return {};
  auto body = fetch("/api/search?" + httplib::detail::params_to_query_str(params));
  return body ? parse_upstream_search(*body) : std::vector<UpstreamHit>{};
}

std::optional<UpstreamHit> UpstreamClient::get(long long id) const {
  auto body = fetch("/api/get/" + std::to_string(id));
  return body ? parse_upstream_record(*body) : std::nullopt;
}

}  // namespace lyr::service
