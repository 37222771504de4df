// The two servers the service benchmarks compare: the lyric service over a library, and the
// same server library answering a fixed 200-byte reply on the same route, each with 8 workers;
// and the keep-alive client loop that both are measured with.
#pragma once

#include <benchmark/benchmark.h>
#include <httplib.h>

#include <chrono>
#include <span>
#include <string>
#include <thread>
#include <utility>

#include "service/catalog/lyric_service.h"
#include "service/http/lyric_server.h"

namespace lyr::service::bench {

class ServerPair {
 public:
  ServerPair(Library library, const char* route, const char* content_type)
      : service_(std::move(library), nullptr), search_({}, 8) {
    search_port_ = search_.bind("127.0.0.1", 0).value();
    search_thread_ = std::thread([this] { search_.serve(service_); });
    fixed_.new_task_queue = [] { return new httplib::ThreadPool(8); };
    fixed_.set_tcp_nodelay(true);
    fixed_.Get(route, [content_type](const httplib::Request&, httplib::Response& res) {
      res.set_content(std::string(200, 'x'), content_type);
    });
    fixed_port_ = fixed_.bind_to_any_port("127.0.0.1");
    fixed_thread_ = std::thread([this] { fixed_.listen_after_bind(); });
    while (!search_.running() || !fixed_.is_running())
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ~ServerPair() {
    search_.stop();
    fixed_.stop();
    search_thread_.join();
    fixed_thread_.join();
  }
  ServerPair(const ServerPair&) = delete;
  ServerPair& operator=(const ServerPair&) = delete;

  int search_port() const { return search_port_; }
  int fixed_port() const { return fixed_port_; }

 private:
  LyricService service_;
  LyricServer search_;
  httplib::Server fixed_;
  int search_port_ = 0, fixed_port_ = 0;
  std::thread search_thread_, fixed_thread_;
};

// Each benchmark thread asks the queries in turn on one keep-alive connection; a reply shorter
// than `min_body` counts as a failure.
inline void run_clients(benchmark::State& state, int port, std::span<const char* const> queries,
                        std::size_t min_body = 0) {
  httplib::Client client("127.0.0.1", port);
  client.set_keep_alive(true);
  client.set_tcp_nodelay(true);
  std::size_t i = static_cast<std::size_t>(state.thread_index());
  for (auto _ : state) {
    auto res = client.Get(queries[i++ % queries.size()]);
    if (!res || res->status != 200 || res->body.size() < min_body) state.SkipWithError("request failed");
  }
  state.SetItemsProcessed(state.iterations());
}

}  // namespace lyr::service::bench
