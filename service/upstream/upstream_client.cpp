#include "service/upstream/upstream_client.h"

#include <httplib.h>

namespace lyr::service {

namespace {

constexpr std::size_t kMaxReply = 8u << 20;

std::string trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return std::string(s);
}

void add_param(httplib::Params& params, const char* name, std::string_view value) {
  std::string v = trimmed(value);
  if (!v.empty()) params.emplace(name, std::move(v));
}

}  // namespace

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

Result<std::string> UpstreamClient::fetch(const std::string& path_and_query) const {
  if (!valid()) return fail("no valid upstream address");
  httplib::Client client(origin_);
  if (!client.is_valid()) return fail("cannot reach " + origin_);
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
  if (!res) return fail("no answer from " + origin_);
  if (res->status != 200) return fail("the database answered " + std::to_string(res->status));
  return body;
}

Result<std::vector<Track>> UpstreamClient::search(const TrackSearch& search) const {
  httplib::Params params;
  add_param(params, "q", search.text);
  add_param(params, "track_name", search.title);
  add_param(params, "artist_name", search.artist);
  add_param(params, "album_name", search.album);
  if (!params.count("q") && !params.count("track_name")) return fail("nothing to search for");
  SERVICE_TRY_ASSIGN(std::string body, fetch("/api/search?" + httplib::detail::params_to_query_str(params)));
  return parse_upstream_search(body);
}

Result<Track> UpstreamClient::find(const TrackQuery& query) const {
  httplib::Params params;
  add_param(params, "track_name", query.title);
  add_param(params, "artist_name", query.artist);
  add_param(params, "album_name", query.album);
  if (query.duration)
    params.emplace("duration", std::to_string(static_cast<long long>(*query.duration + 0.5)));
  SERVICE_TRY_ASSIGN(std::string body, fetch("/api/get?" + httplib::detail::params_to_query_str(params)));
  return parse_upstream_record(body);
}

Result<Track> UpstreamClient::get(std::uint64_t id) const {
  SERVICE_TRY_ASSIGN(std::string body, fetch("/api/get/" + std::to_string(id)));
  return parse_upstream_record(body);
}

}  // namespace lyr::service
