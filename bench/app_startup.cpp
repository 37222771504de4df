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

// One kind of child to time: what it runs, its environment, and the name of its counters.
struct Contender {
  const char* kind;
  std::vector<std::string> env;
  std::string name;
};

// The two contenders take turns at going first: a child started right after another one ended
// pays for that one's teardown, which would otherwise always fall on the same one. Medians keep
// a single slow start on a busy machine from deciding the ratio. Ratios are first over second.
void compare(benchmark::State& state, const Contender& first, const Contender& second) {
  std::vector<double> first_ms, second_ms;
  long first_kb = 0, second_kb = 0;
  for (auto _ : state) {
    const bool first_first = first_ms.size() % 2 == 0;
    ChildRun f, b;
    if (first_first) f = run_child(first.kind, first.env);
    b = run_child(second.kind, second.env);
    if (!first_first) f = run_child(first.kind, first.env);
    if (f.ms == 0 || b.ms == 0) {
      state.SkipWithError("a child did not paint");
      return;
    }
    first_ms.push_back(f.ms);
    second_ms.push_back(b.ms);
    first_kb = std::max(first_kb, f.peak_kb);
    second_kb = std::max(second_kb, b.peak_kb);
  }
  if (first_ms.empty()) return;
  const double one = median(first_ms), two = median(second_ms);
  state.counters[first.name + "_ms"] = one;
  state.counters[second.name + "_ms"] = two;
  state.counters["time_ratio"] = one / two;
  state.counters[first.name + "_peak_kb"] = static_cast<double>(first_kb);
  state.counters[second.name + "_peak_kb"] = static_cast<double>(second_kb);
  state.counters["memory_ratio"] = static_cast<double>(first_kb) / static_cast<double>(second_kb);
}

// The finder against the bare window in one environment.
void compare(benchmark::State& state, const std::vector<std::string>& env) {
  compare(state, Contender{"finder", env, "finder"}, Contender{"bare", env, "bare"});
}

void BM_StartHeadless(benchmark::State& state) {
  compare(state, {"LYRICS_DISPLAY=headless"});
}
BENCHMARK(BM_StartHeadless)->Iterations(20)->Unit(benchmark::kMillisecond);

// False (the benchmark skipped) when the X server did not start.
bool started(benchmark::State& state, const test_support::Xvfb& xvfb) {
  if (!xvfb.display().empty()) return true;
  state.SkipWithError("Xvfb is not available");
  for (auto _ : state) {
  }
  return false;
}

void BM_StartUnderXvfb(benchmark::State& state) {
  test_support::Xvfb xvfb;
  if (!started(state, xvfb)) return;
  compare(state, {"DISPLAY=" + xvfb.display(), "LYRICS_DISPLAY=sdl"});
}
BENCHMARK(BM_StartUnderXvfb)->Iterations(20)->Unit(benchmark::kMillisecond);

// The finder at scale 2 against scale 1 on one X screen large enough for both, taking turns.
void BM_StartAtScaleTwo(benchmark::State& state) {
  test_support::Xvfb xvfb("2560x1600x24");
  if (!started(state, xvfb)) return;
  const std::string display = "DISPLAY=" + xvfb.display();
  compare(state, Contender{"finder", {display, "LYRICS_DISPLAY=sdl", "LYRICS_SCALE=2"}, "scale2"},
          Contender{"finder", {display, "LYRICS_DISPLAY=sdl", "LYRICS_SCALE=1"}, "scale1"});
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
