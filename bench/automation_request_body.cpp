// A 1 MB loopback body fetched through the request object into a byte set, against a plain
// libcurl GET of the same body (same run, same server).
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <cstring>
#include <string>
#include <vector>

#include "automation/automation_commands.h"
#include "runtime/callback.h"
#include "tests/automation/command_harness.h"
#include "tests/automation/finder_routines.h"
#include "tests/support/raw_http_server.h"

namespace {

lyr::test::RawHttpServer& server() {
  static const std::string body(1u << 20, 'x');
  static lyr::test::RawHttpServer s([](const std::string&, lyr::test::RawHttpServer::Connection& out) {
    out.send(lyr::test::http_head("HTTP/1.1 200 OK", {"Content-Length: " + std::to_string(body.size())}) +
             body);
  });
  return s;
}

void BM_RequestObjectBody(benchmark::State& state) {
  automation::attach_runtime(&runtime::runtime_callback);
  const std::string url = server().url("/body");
  for (auto _ : state) {
    void* body = lyr::test::fetch_byte_set(url);
    std::uint32_t length = 0;
    if (body != nullptr) std::memcpy(&length, static_cast<const char*>(body) + 4, sizeof length);
    if (length != (1u << 20)) state.SkipWithError("short body");
    benchmark::DoNotOptimize(body);
    lyr::test::free_value(lyr::test::byte_set_arg(body));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * (1 << 20));
}
BENCHMARK(BM_RequestObjectBody)->Unit(benchmark::kMillisecond)->UseRealTime();

std::size_t collect(char* data, std::size_t size, std::size_t count, void* user) {
  auto* out = static_cast<std::vector<char>*>(user);
  out->insert(out->end(), data, data + size * count);
  return size * count;
}

void BM_PlainCurlGet(benchmark::State& state) {
  const std::string url = server().url("/body");
  for (auto _ : state) {
    std::vector<char> body;
    CURL* c = curl_easy_init();
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &collect);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &body);
    curl_easy_perform(c);
    curl_easy_cleanup(c);
    if (body.size() != (1u << 20)) state.SkipWithError("short body");
    benchmark::DoNotOptimize(body.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * (1 << 20));
}
BENCHMARK(BM_PlainCurlGet)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
