// An online lyric database with the LRCLIB API: GET <base>/api/search?track_name=&artist_name=
// and GET <base>/api/get/<id>. Every request ends within the time-out whatever the other side
// does (no connection, no reply, a reply trickling in); a failure is an empty answer, never an
// exception. Safe to call from many threads: each request uses its own connection.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lyr::service {

struct UpstreamHit {
  long long id = 0;
  std::string title;
  std::string artist;
  std::string album;
  std::string lyrics;  // the synced lyric, else the plain one
};

class UpstreamClient {
 public:
  // `base_url` is "http[s]://host[:port][/prefix]"; valid() says whether it could be read.
  UpstreamClient(std::string_view base_url, std::chrono::milliseconds timeout);

  bool valid() const { return !origin_.empty(); }
  const std::string& url() const { return url_; }

  // Hits with a lyric (instrumental entries have none and are left out).
  std::vector<UpstreamHit> search(std::string_view title, std::string_view artist) const;
  std::optional<UpstreamHit> get(long long id) const;

 private:
  std::optional<std::string> fetch(const std::string& path_and_query) const;

  std::string url_;
  std::string origin_;  // scheme://host[:port]
  std::string prefix_;  // path before /api, without a trailing slash
  std::chrono::milliseconds timeout_;
};

// Parsers for the database's replies, kept apart so malformed replies can be tried directly.
std::vector<UpstreamHit> parse_upstream_search(std::string_view body);
std::optional<UpstreamHit> parse_upstream_record(std::string_view body);

}  // namespace lyr::service
