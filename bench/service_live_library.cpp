// A live library at the product's own timings: from a lyric file written into a library of
// 10,000 songs until a search finds it (the target is under 2 s), and from 10,000 files moved
// in as one folder until every one of them is found.
#include <benchmark/benchmark.h>

#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>

#include "service/library/live_library.h"

namespace {

namespace fs = std::filesystem;
using lyr::service::Library;

void write(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path) << text;
}

fs::path fresh_dir(const char* name) {
  fs::path d = fs::temp_directory_path() / name;
  fs::remove_all(d);
  fs::create_directories(d);
  return d;
}

// The libraries the service publishes, and a wait for one that satisfies a test.
class Published {
 public:
  void operator()(std::shared_ptr<const Library> next) {
    std::lock_guard lock(mutex_);
    current_ = std::move(next);
    changed_.notify_all();
  }
  template <typename Test>
  void wait(Test test) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return current_ && test(*current_); });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::shared_ptr<const Library> current_;
};

bool has(const Library& library, const std::string& title) {
  auto hits = library.search(title, "Bench", 1);
  return !hits.empty() && hits.front()->title == title;
}

void AddToSearchable(benchmark::State& state) {
  fs::path dir = fresh_dir("lyric-service-bench-live");
  for (int i = 0; i < 10000; ++i)
    write(dir / ("album " + std::to_string(i / 100)) / ("Artist - Song " + std::to_string(i) + ".lrc"),
          "[00:01.00]line\n");
  lyr::service::LiveLibrary live({dir.string()}, nullptr);
  Library first = live.scan();
  Published published;
  live.follow(std::ref(published));
  int n = 0;
  for (auto _ : state) {
    std::string title = "Added " + std::to_string(n++);
    write(dir / "album 7" / ("Bench - " + title + ".lrc"), "[00:01.00]new\n");
    published.wait([&](const Library& l) { return has(l, title); });
  }
  live.stop();
  fs::remove_all(dir);
}

void BurstToSearchable(benchmark::State& state) {
  fs::path dir = fresh_dir("lyric-service-bench-live");
  fs::path aside = fresh_dir("lyric-service-bench-aside");
  lyr::service::LiveLibrary live({dir.string()}, nullptr);
  Library first = live.scan();
  Published published;
  live.follow(std::ref(published));
  std::size_t expected = 0;
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    fs::path tree = aside / std::to_string(round++);
    for (int i = 0; i < 10000; ++i)
      write(tree / std::to_string(i % 20) / ("Bench - Song " + std::to_string(i) + ".lrc"), "[00:01.00]x\n");
    expected += 10000;
    state.ResumeTiming();
    fs::rename(tree, dir / tree.filename());
    published.wait([&](const Library& l) { return l.size() == expected; });
  }
  live.stop();
  fs::remove_all(dir);
  fs::remove_all(aside);
}

BENCHMARK(AddToSearchable)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
BENCHMARK(BurstToSearchable)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
