#include "tests/support/display_pump.h"

#include <sys/wait.h>

#include <thread>

#include "platform/api.h"
#include "tests/support/xvfb_session.h"

namespace test_support {

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

namespace {

std::string visible_x_window(const std::string& title) {
  std::string id = output_of("xdotool search --onlyvisible --name '" + title + "' 2>/dev/null | head -n 1");
  while (!id.empty() && (id.back() == '\n' || id.back() == '\r')) id.pop_back();
  return id;
}

}  // namespace

std::string x_window_named(const std::string& title) {
  std::string id;
  pump_until([&] { return !(id = visible_x_window(title)).empty(); }, std::chrono::seconds(15));
  return id;
}

bool x_window_gone(const std::string& title) {
  return pump_until([&] { return visible_x_window(title).empty(); }, std::chrono::seconds(15));
}

}  // namespace test_support
