// A 1 MB loopback body fetched by the finder's fetch routine (the request object) into a byte
// set, against a plain libcurl GET of the same body (same run, same server).
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <string>
#include <vector>

#include "app/routines.h"
#include "tests/app/support/finder_runtime.h"
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
  app_test::FinderRuntime finder;
  if (!finder.started()) state.SkipWithError("the finder's runtime did not start");
  const std::string url = server().url("/body");
  for (auto _ : state) {
    const app::Bytes body = app::fetch_url(url.c_str());
    if (app_test::FinderRuntime::bytes_of(body).size() != (1u << 20)) state.SkipWithError("short body");
    benchmark::DoNotOptimize(body.get());
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
