// lyric-service: the lyric API the finder queries, over lyric folders and an optional online
// database. Binds first (so a second copy fails at once), indexes, then serves until SIGINT or
// SIGTERM, following changes of the library folders meanwhile.
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "service/config_file.h"
#include "service/default_libraries.h"
#include "service/http/lyric_server.h"
#include "service/library/live_library.h"
#include "service/options.h"

namespace {

using namespace lyr::service;

int run(const Options& options) {
  std::vector<std::string> libraries = options.libraries;
  if (libraries.empty()) {
    std::error_code ec;
    libraries = default_libraries(std::filesystem::read_symlink("/proc/self/exe", ec).string());
  }

  std::unique_ptr<UpstreamClient> upstream;
  if (!options.upstream.empty()) {
    upstream = std::make_unique<UpstreamClient>(options.upstream, options.upstream_timeout);
    if (!upstream->valid()) {
      std::fprintf(stderr, "lyric-service: --upstream wants an http:// or https:// address, not '%s'\n",
                   options.upstream.c_str());
      return 2;
    }
  }

  // Signals are taken by one thread with sigwait; every other thread, the server's pool
  // included, inherits the blocked mask.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGTERM);
  sigaddset(&stop_signals, SIGUSR1);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  LyricServer server(libraries, options.threads);
  auto port = server.bind(options.bind, options.port);
  if (!port) {
    std::fprintf(stderr, "lyric-service: cannot listen on %s:%d: %s\n", options.bind.c_str(), options.port,
                 port.error().c_str());
    return 1;
  }
  // 0: indexing, 1: serving, 2: serving ended.
  std::atomic<int> phase = 0;
  std::thread waiter([&] {
    int sig = 0;
    sigwait(&stop_signals, &sig);
    if (sig == SIGUSR1) return;
    if (phase == 0) {
      // Nothing is written while indexing: a long scan is simply abandoned.
      std::fputs("lyric-service: stopped\n", stderr);
      std::_Exit(0);
    }
    // stop() before the server runs would be lost.
    while (phase == 1 && !server.running()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    server.stop();
  });

  LiveLibrary live(libraries, stderr);
  LyricService service(live.scan(), std::move(upstream));
  live.follow([&service](std::shared_ptr<const Library> next) { service.replace_library(std::move(next)); });
  std::fprintf(stderr, "lyric-service: serving %zu songs on http://%s:%d/\n", service.library()->size(),
               options.bind.c_str(), port.value());
  phase = 1;
  bool ok = server.serve(service);
  phase = 2;
  // Its thread publishes into `service`, which goes first.
  live.stop();
  pthread_kill(waiter.native_handle(), SIGUSR1);  // wakes the waiter when serving ended by itself
  waiter.join();
  std::fprintf(stderr, "lyric-service: stopped\n");
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  auto command_line = parse_command_line(argc, argv);
  if (!command_line) {
    std::fprintf(stderr, "lyric-service: %s\n%s", command_line.error().c_str(), usage());
    return 2;
  }
  if (command_line->help) {
    std::fputs(usage(), stdout);
    return 0;
  }
  auto options = resolve_options(command_line.value());
  if (!options) {
    std::fprintf(stderr, "lyric-service: %s\n", options.error().c_str());
    return 2;
  }
  return run(options.value());
}
