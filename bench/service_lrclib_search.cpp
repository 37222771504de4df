// LRCLIB searches per second over a library of 100,000 songs with 8 concurrent keep-alive
// clients, against the same server library answering a fixed 200-byte reply on the same route
// and connection pattern. Each song has a real lyric file (hard links to a few dozen lyrics of
// 30 lines), read and derived for every track a reply carries. The ratio
// LrclibSearch / FixedReply is the figure of merit.
#include <benchmark/benchmark.h>
#include <httplib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "bench/service_bench_servers.h"

namespace {

namespace fs = std::filesystem;
using namespace lyr::service;

constexpr std::size_t kSongs = 100000;
constexpr std::size_t kLyrics = 40;

const char* const kWords[] = {"moon", "river", "night", "summer", "paper", "light", "rain",   "heart",
                              "夜空", "风筝",  "月光",  "旧书店", "별빛",  "바다",  "春風",   "電車",
                              "city", "dream", "blue",  "fire",   "road",  "star",  "winter", "song"};
constexpr std::size_t kWordCount = sizeof kWords / sizeof *kWords;

// kSongs paths, each a hard link to one of kLyrics lyric files.
std::vector<LyricEntry> make_library() {
  fs::path root = fs::temp_directory_path() / "lyric-service-bench-lrclib";
  fs::remove_all(root);
  fs::create_directories(root / "lyrics");
  for (std::size_t l = 0; l < kLyrics; ++l) {
    std::ofstream f(root / "lyrics" / (std::to_string(l) + ".lrc"));
    f << "[ti:x]\n[ar:y]\n";
    for (int line = 0; line < 30; ++line)
      f << "[00:" << (10 + line) << ".00]line " << line << " of lyric " << l << ", 歌词 \"quoted\"\n";
  }
  std::vector<LyricEntry> entries(kSongs);
  for (std::size_t i = 0; i < kSongs; ++i) {
    fs::path folder = root / std::to_string(i / 1000);
    if (i % 1000 == 0) fs::create_directories(folder);
    LyricEntry& e = entries[i];
    e.path = e.lyric_path = (folder / (std::to_string(i) + ".lrc")).string();
    link((root / "lyrics" / (std::to_string(i % kLyrics) + ".lrc")).c_str(), e.path.c_str());
    e.title = std::string(kWords[i % kWordCount]) + " " + kWords[(i / kWordCount) % kWordCount] + " " +
              std::to_string(i);
    e.artist = std::string("Artist ") + std::to_string(i % 5000);
    e.album = std::string("Album ") + std::to_string(i % 9000);
    e.duration = 180.0 + static_cast<double>(i % 120);
  }
  return entries;
}

// What a player asks: a title with an artist, free text, an artist's songs (20 hits), one word
// matching thousands of titles (20 hits), and a title in two scripts with an artist.
const char* const kQueries[] = {
    "/api/search?track_name=moon%20light%20120&artist_name=Artist%20120",
    "/api/search?q=%E5%A4%9C%E7%A9%BA%20paper%202408",  // 夜空 paper 2408
    "/api/search?q=Artist%204242", "/api/search?track_name=moon",
    "/api/search?track_name=light%20%E6%98%A5%E9%A2%A8%2013013&artist_name=artist%203013"};  // 春風

bench::ServerPair& servers() {
  static bench::ServerPair s(Library(make_library()), "/api/search", "application/json");
  return s;
}

void run_clients(benchmark::State& state, int port) {
  bench::run_clients(state, port, kQueries, 3);
}

void LrclibSearch(benchmark::State& state) {
  run_clients(state, servers().search_port());
}
void FixedReply(benchmark::State& state) {
  run_clients(state, servers().fixed_port());
}

BENCHMARK(LrclibSearch)->Threads(8)->UseRealTime()->MinTime(3);
BENCHMARK(FixedReply)->Threads(8)->UseRealTime()->MinTime(3);

}  // namespace
