// Indexing 10,000 .lrc files (reading, decoding, naming, building the search index) against
// only reading the same files. The ratio ReadFiles / IndexFiles (time) is the figure of merit.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "service/library/library_scanner.h"
#include "service/library/lyric_index.h"

namespace {

namespace fs = std::filesystem;

const fs::path& library() {
  static fs::path dir = [] {
    fs::path d = fs::temp_directory_path() / "lyric-service-bench-library";
    fs::remove_all(d);
    for (int i = 0; i < 10000; ++i) {
      fs::path folder = d / ("album " + std::to_string(i / 100));
      fs::create_directories(folder);
      std::ofstream f(folder /
                      ("Artist " + std::to_string(i % 700) + " - 歌曲 " + std::to_string(i) + ".lrc"));
      f << "[ti:歌曲 " << i << "]\n[ar:Artist " << i % 700 << "]\n[al:Album]\n";
      for (int line = 0; line < 30; ++line)
        f << "[00:" << (10 + line) << ".00]这是第 " << line << " 行歌词 and an English line\n";
    }
    return d;
  }();
  return dir;
}

void IndexFiles(benchmark::State& state) {
  const std::string root = library().string();
  for (auto _ : state) {
    std::vector<lyr::service::LyricEntry> entries;
    lyr::service::scan_library(root, entries, nullptr);
    lyr::service::LyricIndex index(std::move(entries));
    benchmark::DoNotOptimize(index.size());
  }
  state.SetItemsProcessed(state.iterations() * 10000);
}

void ReadFiles(benchmark::State& state) {
  const fs::path root = library();
  std::vector<char> buf(1 << 16);
  for (auto _ : state) {
    std::size_t total = 0;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
      if (!e.is_regular_file()) continue;
      int fd = open(e.path().c_str(), O_RDONLY);
      ssize_t n;
      while ((n = read(fd, buf.data(), buf.size())) > 0) total += static_cast<std::size_t>(n);
      close(fd);
    }
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * 10000);
}

BENCHMARK(IndexFiles)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ReadFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
