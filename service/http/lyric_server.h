// The HTTP face of a LyricService, on cpp-httplib: the finder's API, the lyric and cover files,
// the author's page and the LRCLIB interface (lrclib_routes.h), served by a pool of threads.
// Anything else, and every malformed or unknown request, gets a 4xx status with a short
// plain-text body.
#pragma once

#include <httplib.h>

#include <string>
#include <vector>

#include "service/catalog/lyric_service.h"
#include "service/core/result.h"
#include "service/http/track_replies.h"

namespace lyr::service {

class LyricServer {
 public:
  LyricServer(std::vector<std::string> libraries, int threads);

  // Binds the listening socket; port 0 picks a free one. Returns the bound port or why not.
  // Binding comes before indexing, so a port in use is reported before a long scan.
  Result<int> bind(const std::string& host, int port);
  // Serves `service` until stop(); false when the listening socket failed.
  bool serve(const LyricService& service);
  void stop() { server_.stop(); }
  bool running() const { return server_.is_running(); }

 private:
  void routes();
  std::string base_url(const httplib::Request& req) const;

  const LyricService* service_ = nullptr;
  std::vector<std::string> libraries_;
  TrackReplies track_replies_{32u << 20};
  httplib::Server server_;
  std::string host_;
  int port_ = 0;
};

}  // namespace lyr::service
