// Searches per second over an index of 100,000 songs with 8 concurrent keep-alive clients,
// against the same server library answering a fixed 200-byte reply on the same route and
// connection pattern. The ratio SearchOverIndex / FixedReply is the figure of merit.
#include <benchmark/benchmark.h>
#include <httplib.h>

#include <memory>
#include <thread>

#include "service/http/lyric_server.h"
#include "service/lyric_service.h"

namespace {

using namespace lyr::service;

const char* const kWords[] = {"moon", "river", "night", "summer", "paper", "light", "rain",   "heart",
                              "夜空", "风筝",  "月光",  "旧书店", "별빛",  "바다",  "春風",   "電車",
                              "city", "dream", "blue",  "fire",   "road",  "star",  "winter", "song"};
constexpr std::size_t kWordCount = sizeof kWords / sizeof *kWords;

std::vector<LyricEntry> make_entries(std::size_t n) {
  std::vector<LyricEntry> entries(n);
  for (std::size_t i = 0; i < n; ++i) {
    entries[i].title = std::string(kWords[i % kWordCount]) + " " + kWords[(i / kWordCount) % kWordCount] +
                       " " + std::to_string(i);
    entries[i].artist = std::string("Artist ") + std::to_string(i % 5000);
    entries[i].lyric_path = "/nonexistent.lrc";
  }
  return entries;
}

// The queries a user types: a title with an artist, a title alone, an artist alone, and one
// word that matches thousands of titles (the reply then carries the full 100 hits).
const char* const kQueries[] = {"/api/lyric/moon%20river%20120/Artist%20120",
                                "/api/lyric/%E5%A4%9C%E7%A9%BA%20rain%202408/", "/api/lyric//Artist%204242",
                                "/api/lyric/moon/", "/api/lyric/paper%20light%2013013/artist%203013"};

struct Servers {
  Servers() : service(LyricIndex(make_entries(100000)), nullptr), search({}, 8) {
    search_port = search.bind("127.0.0.1", 0).value();
    search_thread = std::thread([this] { search.serve(service); });
    fixed.new_task_queue = [] { return new httplib::ThreadPool(8); };
    fixed.set_tcp_nodelay(true);
    fixed.Get(R"(/api/lyric/[\s\S]*)", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(std::string(200, 'x'), "application/json; charset=utf-8");
    });
    fixed_port = fixed.bind_to_any_port("127.0.0.1");
    fixed_thread = std::thread([this] { fixed.listen_after_bind(); });
    while (!search.running() || !fixed.is_running())
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ~Servers() {
    search.stop();
    fixed.stop();
    search_thread.join();
    fixed_thread.join();
  }
  LyricService service;
  LyricServer search;
  httplib::Server fixed;
  int search_port = 0, fixed_port = 0;
  std::thread search_thread, fixed_thread;
};

Servers& servers() {
  static Servers s;
  return s;
}

void run_clients(benchmark::State& state, int port) {
  httplib::Client client("127.0.0.1", port);
  client.set_keep_alive(true);
  client.set_tcp_nodelay(true);
  std::size_t i = static_cast<std::size_t>(state.thread_index());
  for (auto _ : state) {
    auto res = client.Get(kQueries[i++ % (sizeof kQueries / sizeof *kQueries)]);
    if (!res || res->status != 200) state.SkipWithError("request failed");
  }
  state.SetItemsProcessed(state.iterations());
}

void SearchOverIndex(benchmark::State& state) {
  run_clients(state, servers().search_port);
}
void FixedReply(benchmark::State& state) {
  run_clients(state, servers().fixed_port);
}

BENCHMARK(SearchOverIndex)->Threads(8)->UseRealTime()->MinTime(3);
BENCHMARK(FixedReply)->Threads(8)->UseRealTime()->MinTime(3);

}  // namespace
