// 1 MB of UTF-8 lyric text read by the finder's decoding routine (the stream object) into a
// GB18030 text value, against one direct iconv UTF-8 -> GB18030 conversion of the same bytes
// (same run, same input).
#include <benchmark/benchmark.h>
#include <iconv.h>

#include <memory>
#include <string>

#include "app/routines.h"
#include "tests/app/support/finder_runtime.h"

namespace {

const std::string& lyric_megabyte() {
  static const std::string text = [] {
    const std::string line =
        "[00:12.34]\xE6\x98\x8E\xE6\x9C\x88\xE5\x87\xA0\xE6\x97\xB6\xE6\x9C\x89 moonlight\n";
    std::string t;
    while (t.size() < (1u << 20)) t += line;
    return t;
  }();
  return text;
}

void BM_StreamReadText(benchmark::State& state) {
  app_test::FinderRuntime finder;
  if (!finder.started()) state.SkipWithError("the finder's runtime did not start");
  const std::string& text = lyric_megabyte();
  const app::Bytes bytes = app_test::FinderRuntime::byte_set(text);
  for (auto _ : state) {
    app::Text out = app::decode_bytes(bytes, "UTF-8");
    benchmark::DoNotOptimize(out.get());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_StreamReadText)->Unit(benchmark::kMillisecond);

// The conversion makes a new text each time, as decoding does: its output buffer is allocated
// per run (Arg 1) or, for reference, reused across runs (Arg 0).
void BM_DirectIconv(benchmark::State& state) {
  const std::string& text = lyric_megabyte();
  const bool fresh_output = state.range(0) != 0;
  std::unique_ptr<char[]> reused(new char[text.size() * 2]);
  for (auto _ : state) {
    std::unique_ptr<char[]> fresh(fresh_output ? new char[text.size() * 2] : nullptr);
    char* out = fresh_output ? fresh.get() : reused.get();
    iconv_t cd = iconv_open("GB18030", "UTF-8");
    char* in = const_cast<char*>(text.data());
    std::size_t in_left = text.size();
    char* dst = out;
    std::size_t dst_left = text.size() * 2;
    iconv(cd, &in, &in_left, &dst, &dst_left);
    iconv_close(cd);
    benchmark::DoNotOptimize(out);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_DirectIconv)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace
