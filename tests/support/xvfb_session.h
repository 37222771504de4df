// Helpers for tests that drive a real display: a private Xvfb server on a free display number,
// and starting child processes (such as a copy of the test program with another backend).
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace test_support {

// Whether `program` is found on PATH.
bool on_path(const std::string& program);

// Starts `args` (searched on PATH) with this process's environment plus `extra_env`
// ("NAME=value" entries replace same-named variables), its standard output and error written
// to `output_path` when one is given. -1 when it could not start.
pid_t spawn(const std::vector<std::string>& args, const std::vector<std::string>& extra_env,
            const std::string& output_path = {});

// This test program started again to run only its tests `filter` (disabled ones included), with
// `extra_env` as spawn takes it; -1 when it could not start.
pid_t spawn_self(const std::string& filter, const std::vector<std::string>& extra_env);

// Runs this program's tests `filter` in a child with the SDL display on `display` (and
// `extra_env`); its exit code, nullopt when it did not start or did not end in `limit`.
std::optional<int> run_self_on_sdl(const std::string& display, const std::string& filter,
                                   std::vector<std::string> extra_env,
                                   std::chrono::seconds limit = std::chrono::seconds(120));

// Waits for a child's exit code; nullopt when it did not end in time (it is killed then).
std::optional<int> wait_child(pid_t pid, std::chrono::seconds limit);

// What a shell command writes to its standard output (empty when it could not run).
std::string output_of(const std::string& command);

// The id (decimal, as xdotool prints it) of the first mapped window titled `title` on
// `display`, waiting up to `limit` for one; empty when none appears.
std::string wait_for_x_window(const std::string& display, const std::string& title,
                              std::chrono::seconds limit = std::chrono::seconds(60));

// The path of the running test program.
std::string self_path();

// A private X server on a free display number, ended with the object. display() is empty when
// the server could not start. `screen` is its size and depth, WIDTHxHEIGHTxDEPTH.
class Xvfb {
 public:
  explicit Xvfb(const std::string& screen = "1280x800x24");
  ~Xvfb();
  Xvfb(const Xvfb&) = delete;
  Xvfb& operator=(const Xvfb&) = delete;
  const std::string& display() const { return display_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

}  // namespace test_support
