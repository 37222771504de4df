// The finder's start against a bare SDL2 + cairo window: wall time from process start to the
// first painted main window, and peak resident memory at idle, each measured in a fresh child
// process, headless and under Xvfb; and the finder on a desktop at 200 % against the same finder
// at 100 %. Reported as counters: milliseconds, kilobytes and the ratios.
#include <SDL2/SDL.h>
#include <benchmark/benchmark.h>
#include <cairo.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/program_image.h"
#include "app/routines.h"
#include "platform/api/input.h"
#include "platform/api/user.h"
#include "runtime/host_app.h"
#include "runtime/window_system.h"
#include "tests/support/xvfb_session.h"
#include "ui/system/window_system_table.h"
#include "ui/windows/window_builder.h"

extern char** environ;

namespace {

constexpr char kChildVariable[] = "LYR_BENCH_CHILD";
constexpr char kPipeVariable[] = "LYR_BENCH_PIPE";

long peak_resident_kb() {
  long kb = 0;
  if (FILE* f = std::fopen("/proc/self/status", "r")) {
    char line[256];
    while (std::fgets(line, sizeof line, f) != nullptr) {
      if (std::sscanf(line, "VmHWM: %ld", &kb) == 1) break;
    }
    std::fclose(f);
  }
  return kb;
}

// Tells the parent that the first frame is on screen, then how much memory the idle program holds.
void report(int fd) {
  const char painted = 'p';
  (void)!write(fd, &painted, 1);
  SDL_Delay(50);  // idle a moment, as a user would see it
  long kb = peak_resident_kb();
  (void)!write(fd, &kb, sizeof kb);
}

int run_finder(int fd) {
  ui::install_window_system();
  runtime::HostApplication host(app::program_image(), [](const runtime::ServiceTable& s) {
    app::open_main_window(s);
    return 0;
  });
  host.initialise();
  HWND main = ui::window_native(0);
  MSG m;
  for (int rounds = 0; rounds < 100000; ++rounds) {
    bool any = false;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      any = true;
      const runtime::WindowSystem& ws = runtime::window_system();
      if (ws.pre_translate != nullptr && ws.pre_translate(&m)) continue;
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    if (!any && main != nullptr && !GetUpdateRect(main, nullptr, FALSE)) break;
  }
  report(fd);
  host.exit();
  return 0;
}

int run_bare(int fd) {
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (std::getenv("DISPLAY") == nullptr) setenv("SDL_VIDEODRIVER", "offscreen", 1);
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
  SDL_Window* window = SDL_CreateWindow("bare", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 418, 512, 0);
  SDL_Surface* surface = window != nullptr ? SDL_GetWindowSurface(window) : nullptr;
  if (surface == nullptr) return 1;
  SDL_LockSurface(surface);
  cairo_surface_t* target =
      cairo_image_surface_create_for_data(static_cast<unsigned char*>(surface->pixels), CAIRO_FORMAT_RGB24,
                                          surface->w, surface->h, surface->pitch);
  cairo_t* cr = cairo_create(target);
  cairo_set_source_rgb(cr, 0.94, 0.94, 0.94);
  cairo_paint(cr);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_move_to(cr, 20, 40);
  cairo_show_text(cr, "bare window");
  cairo_destroy(cr);
  cairo_surface_destroy(target);
  SDL_UnlockSurface(surface);
  SDL_UpdateWindowSurface(window);
  SDL_PumpEvents();
  report(fd);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}

struct ChildRun {
  double ms = 0;
  long peak_kb = 0;
};

// Starts this program as a child of the given kind; times it from the spawn to its first frame.
ChildRun run_child(const char* kind, const std::vector<std::string>& extra_env) {
  int fds[2];
  if (pipe(fds) != 0) return {};
  std::vector<std::string> env_text = {std::string(kChildVariable) + "=" + kind,
                                       std::string(kPipeVariable) + "=" + std::to_string(fds[1])};
  env_text.insert(env_text.end(), extra_env.begin(), extra_env.end());
  for (char** e = environ; *e != nullptr; ++e) env_text.emplace_back(*e);
  std::vector<char*> env;
  for (std::string& s : env_text) env.push_back(s.data());
  env.push_back(nullptr);
  std::string self = "/proc/self/exe";
  char* args[] = {self.data(), nullptr};
  auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  if (posix_spawn(&pid, self.c_str(), nullptr, nullptr, args, env.data()) != 0) return {};
  close(fds[1]);
  ChildRun run;
  char painted = 0;
  if (read(fds[0], &painted, 1) == 1) {
    run.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  }
  if (read(fds[0], &run.peak_kb, sizeof run.peak_kb) != sizeof run.peak_kb) run.peak_kb = 0;
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  return run;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// The two kinds take turns at going first: a child started right after another one ended pays
// for that one's teardown, which would otherwise always fall on the same kind. Medians keep a
// single slow start on a busy machine from deciding the ratio.
void compare(benchmark::State& state, const std::vector<std::string>& env) {
  std::vector<double> finder_ms, bare_ms;
  long finder_kb = 0, bare_kb = 0;
  for (auto _ : state) {
    const bool finder_first = finder_ms.size() % 2 == 0;
    ChildRun f, b;
    if (finder_first) f = run_child("finder", env);
    b = run_child("bare", env);
    if (!finder_first) f = run_child("finder", env);
    if (f.ms == 0 || b.ms == 0) {
      state.SkipWithError("a child did not paint");
      return;
    }
    finder_ms.push_back(f.ms);
    bare_ms.push_back(b.ms);
    finder_kb = std::max(finder_kb, f.peak_kb);
    bare_kb = std::max(bare_kb, b.peak_kb);
  }
  if (finder_ms.empty()) return;
  const double finder = median(finder_ms), bare = median(bare_ms);
  state.counters["finder_ms"] = finder;
  state.counters["bare_ms"] = bare;
  state.counters["time_ratio"] = finder / bare;
  state.counters["finder_peak_kb"] = static_cast<double>(finder_kb);
  state.counters["bare_peak_kb"] = static_cast<double>(bare_kb);
  state.counters["memory_ratio"] = static_cast<double>(finder_kb) / static_cast<double>(bare_kb);
}

void BM_StartHeadless(benchmark::State& state) {
  compare(state, {"LYRICS_DISPLAY=headless"});
}
BENCHMARK(BM_StartHeadless)->Iterations(20)->Unit(benchmark::kMillisecond);

void BM_StartUnderXvfb(benchmark::State& state) {
  test_support::Xvfb xvfb;
  if (xvfb.display().empty()) {
    state.SkipWithError("Xvfb is not available");
    for (auto _ : state) {
    }
    return;
  }
  compare(state, {"DISPLAY=" + xvfb.display(), "LYRICS_DISPLAY=sdl"});
}
BENCHMARK(BM_StartUnderXvfb)->Iterations(20)->Unit(benchmark::kMillisecond);

// The finder at scale 2 against scale 1 on one X screen large enough for both, taking turns.
void BM_StartAtScaleTwo(benchmark::State& state) {
  test_support::Xvfb xvfb("2560x1600x24");
  if (xvfb.display().empty()) {
    state.SkipWithError("Xvfb is not available");
    for (auto _ : state) {
    }
    return;
  }
  const std::vector<std::string> base = {"DISPLAY=" + xvfb.display(), "LYRICS_DISPLAY=sdl"};
  auto with_scale = [&](const char* scale) {
    std::vector<std::string> env = base;
    env.push_back(std::string("LYRICS_SCALE=") + scale);
    return env;
  };
  std::vector<double> one_ms, two_ms;
  long one_kb = 0, two_kb = 0;
  for (auto _ : state) {
    const bool two_first = two_ms.size() % 2 == 0;
    ChildRun one, two;
    if (two_first) two = run_child("finder", with_scale("2"));
    one = run_child("finder", with_scale("1"));
    if (!two_first) two = run_child("finder", with_scale("2"));
    if (one.ms == 0 || two.ms == 0) {
      state.SkipWithError("a child did not paint");
      return;
    }
    one_ms.push_back(one.ms);
    two_ms.push_back(two.ms);
    one_kb = std::max(one_kb, one.peak_kb);
    two_kb = std::max(two_kb, two.peak_kb);
  }
  if (one_ms.empty()) return;
  state.counters["scale1_ms"] = median(one_ms);
  state.counters["scale2_ms"] = median(two_ms);
  state.counters["time_ratio"] = median(two_ms) / median(one_ms);
  state.counters["scale1_peak_kb"] = static_cast<double>(one_kb);
  state.counters["scale2_peak_kb"] = static_cast<double>(two_kb);
  state.counters["memory_ratio"] = static_cast<double>(two_kb) / static_cast<double>(one_kb);
}
BENCHMARK(BM_StartAtScaleTwo)->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (const char* kind = std::getenv(kChildVariable)) {
    const int fd = std::atoi(std::getenv(kPipeVariable));
    return std::strcmp(kind, "finder") == 0 ? run_finder(fd) : run_bare(fd);
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
