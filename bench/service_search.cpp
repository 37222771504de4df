// Searches per second over an index of 100,000 songs with 8 concurrent keep-alive clients,
// against the same server library answering a fixed 200-byte reply on the same route and
// connection pattern. The ratio SearchOverIndex / FixedReply is the figure of merit.
#include <benchmark/benchmark.h>
#include <httplib.h>

#include <memory>
#include <thread>

#include "bench/service_bench_servers.h"

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
    entries[i].path = entries[i].lyric_path = "/nonexistent/" + std::to_string(i) + ".lrc";
  }
  return entries;
}

// The queries a user types: a title with an artist, a title alone, an artist alone, and one
// word that matches thousands of titles (the reply then carries the full 100 hits).
const char* const kQueries[] = {"/api/lyric/moon%20river%20120/Artist%20120",
                                "/api/lyric/%E5%A4%9C%E7%A9%BA%20rain%202408/", "/api/lyric//Artist%204242",
                                "/api/lyric/moon/", "/api/lyric/paper%20light%2013013/artist%203013"};

bench::ServerPair& servers() {
  static bench::ServerPair s(Library(make_entries(100000)), R"(/api/lyric/[\s\S]*)",
                             "application/json; charset=utf-8");
  return s;
}

void run_clients(benchmark::State& state, int port) {
  bench::run_clients(state, port, kQueries);
}

void SearchOverIndex(benchmark::State& state) {
  run_clients(state, servers().search_port());
}
void FixedReply(benchmark::State& state) {
  run_clients(state, servers().fixed_port());
}

BENCHMARK(SearchOverIndex)->Threads(8)->UseRealTime()->MinTime(3);
BENCHMARK(FixedReply)->Threads(8)->UseRealTime()->MinTime(3);

}  // namespace
