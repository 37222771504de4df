#include "tests/support/display_pump.h"

#include <sys/wait.h>

#include <cstdio>
#include <thread>

#include "platform/api.h"
#include "tests/support/xvfb_session.h"

namespace test_support {

std::string command_output(const std::string& cmd) {
  std::string out;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return out;
  char buf[256];
  while (fgets(buf, sizeof buf, p)) out += buf;
  pclose(p);
  return out;
}

bool pump_until(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < deadline) {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return done();
}

void pump_for(std::chrono::milliseconds time) {
  pump_until([] { return false; }, time);
}

void run_pumping(const std::string& cmd) {
  pid_t pid = spawn({"/bin/sh", "-c", cmd}, {});
  if (pid <= 0) return;
  pump_until(
      [pid] {
        int status = 0;
        return waitpid(pid, &status, WNOHANG) == pid;
      },
      std::chrono::milliseconds(20000));
}

std::string x_window_named(const std::string& title) {
  std::string id;
  for (int i = 0; i < 50 && id.empty(); ++i) {
    id = command_output("xdotool search --name '" + title + "' 2>/dev/null | head -n 1");
    while (!id.empty() && (id.back() == '\n' || id.back() == '\r')) id.pop_back();
    if (id.empty()) pump_for(std::chrono::milliseconds(100));
  }
  return id;
}

}  // namespace test_support
