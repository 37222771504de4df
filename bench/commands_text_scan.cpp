// FindText and SplitText over a 1 MB lyric service reply, each beside memmem doing the same
// search over the same bytes in the same run (compare the bytes_per_second columns).
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "commands/core_commands.h"
#include "platform/api/kernel.h"
#include "runtime/abi/records.h"
#include "runtime/callback.h"
#include "runtime/heap.h"
#include "runtime/values.h"

namespace {

// Start-up would hand the commands the runtime's callback; these call them directly.
[[maybe_unused]] const bool attached = [] {
  commands::attach_runtime(&runtime::runtime_callback);
  return true;
}();

constexpr std::size_t kReplySize = 1 << 20;
constexpr char kStartMarker[] = "\"aid\": ";
constexpr char kLastMarker[] = "\"count\": ";

// Hits as the service writes them: ids, addresses and Chinese titles and artists (GB18030).
const std::string& reply() {
  static const std::string text = [] {
    std::string t = "{\"result\": [";
    for (int id = 1; t.size() < kReplySize - 64; ++id) {
      const std::string n = std::to_string(id);
      t += "{\"aid\": " + n + ", \"lrc\": \"http://127.0.0.1:47610/lrc/" + n +
           ".lrc\", \"song\": \"\xC7\xE0\xBB\xA8\xB4\xC9 " + n +
           "\", \"artist\": \"\xD6\xDC\xBD\xDC\xC2\xD7\", \"album\": \"\xCE\xD2\xBA\xDC\xC3\xA6\"}, ";
    }
    t += "], \"count\": 9999, \"code\": 0}";
    return t;
  }();
  return text;
}

runtime::ArgRecord text_record(const char* text) {
  runtime::ArgRecord r{};
  r.set_pointer(text);
  r.tag = runtime::tag::kText;
  return r;
}

void BM_MemmemLastMarker(benchmark::State& state) {
  const std::string& t = reply();
  for (auto _ : state) {
    const void* hit = memmem(t.data(), t.size(), kLastMarker, std::strlen(kLastMarker));
    benchmark::DoNotOptimize(hit);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * t.size()));
}

void BM_FindTextLastMarker(benchmark::State& state) {
  const std::string& t = reply();
  runtime::ArgRecord args[2] = {text_record(t.c_str()), text_record(kLastMarker)};
  const runtime::CommandRoutine find_text = &commands::find_text_command;
  for (auto _ : state) {
    runtime::ArgRecord result{};
    find_text(&result, 2, args);
    benchmark::DoNotOptimize(result);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * t.size()));
}

// memmem finding every start marker and noting where each piece lies.
void BM_MemmemEveryMarker(benchmark::State& state) {
  const std::string& t = reply();
  const std::size_t m = std::strlen(kStartMarker);
  std::vector<std::pair<const char*, const char*>> pieces;
  for (auto _ : state) {
    pieces.clear();
    const char* piece = t.data();
    const char* end = t.data() + t.size();
    while (const void* hit = memmem(piece, static_cast<std::size_t>(end - piece), kStartMarker, m)) {
      pieces.emplace_back(piece, static_cast<const char*>(hit));
      piece = static_cast<const char*>(hit) + m;
    }
    pieces.emplace_back(piece, end);
    benchmark::DoNotOptimize(pieces.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * t.size()));
}

// The same, with each piece copied into a block of the process heap as a text value must be:
// the floor that any split building runtime texts stands on.
void BM_MemmemEveryMarkerHeapCopies(benchmark::State& state) {
  const std::string& t = reply();
  const std::size_t m = std::strlen(kStartMarker);
  std::vector<char*> copies;
  auto copy = [&](const char* from, const char* to) {
    const auto n = static_cast<std::size_t>(to - from);
    auto* block = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, n + 1));
    std::memcpy(block, from, n);
    block[n] = '\0';
    copies.push_back(block);
  };
  for (auto _ : state) {
    const char* piece = t.data();
    const char* end = t.data() + t.size();
    while (const void* hit = memmem(piece, static_cast<std::size_t>(end - piece), kStartMarker, m)) {
      copy(piece, static_cast<const char*>(hit));
      piece = static_cast<const char*>(hit) + m;
    }
    copy(piece, end);
    state.PauseTiming();
    for (char* c : copies) HeapFree(GetProcessHeap(), 0, c);
    copies.clear();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * t.size()));
}

void BM_SplitTextEveryMarker(benchmark::State& state) {
  const std::string& t = reply();
  runtime::ArgRecord args[2] = {text_record(t.c_str()), text_record(kStartMarker)};
  const runtime::CommandRoutine split_text = &commands::split_text_command;
  std::uint64_t pieces = 0;
  for (auto _ : state) {
    runtime::ArgRecord result{};
    split_text(&result, 2, args);
    // Freeing the result is the caller's work, not the command's.
    state.PauseTiming();
    pieces = runtime::array_element_count(result.pointer<void>());
    runtime::free_array(runtime::tag::kText, result.pointer<void>());
    state.ResumeTiming();
  }
  state.counters["pieces"] = static_cast<double>(pieces);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * t.size()));
}

BENCHMARK(BM_MemmemLastMarker);
BENCHMARK(BM_FindTextLastMarker);
BENCHMARK(BM_MemmemEveryMarker);
BENCHMARK(BM_MemmemEveryMarkerHeapCopies);
BENCHMARK(BM_SplitTextEveryMarker);

}  // namespace
