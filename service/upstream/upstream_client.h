// An online lyric database with the LRCLIB API: GET <base>/api/search, /api/get and
// /api/get/<id>. Another lyric-service is one too. Every request ends within the time-out
// whatever the other side does (no connection, no reply, a reply trickling in); a failure is a
// failed Result, never an exception. Safe to call from many threads: each request uses its own
// connection. Tracks come back with the database's own ids.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "service/core/result.h"
#include "service/core/track.h"
#include "service/upstream/upstream_reply.h"

namespace lyr::service {

class UpstreamClient {
 public:
  // `base_url` is "http[s]://host[:port][/prefix]"; valid() says whether it could be read.
  UpstreamClient(std::string_view base_url, std::chrono::milliseconds timeout);

  bool valid() const { return !origin_.empty(); }
  const std::string& url() const { return url_; }

  Result<std::vector<Track>> search(const TrackSearch& search) const;
  Result<Track> find(const TrackQuery& query) const;
  Result<Track> get(std::uint64_t id) const;

 private:
  Result<std::string> fetch(const std::string& path_and_query) const;

  std::string url_;
  std::string origin_;  // scheme://host[:port]
  std::string prefix_;  // path before /api, without a trailing slash
  std::chrono::milliseconds timeout_;
};

}  // namespace lyr::service
