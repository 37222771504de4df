#include "runtime/message_loop.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/api/user.h"
#include "runtime/abi/service_table.h"
#include "runtime/callback.h"
#include "runtime/host_app.h"
#include "runtime/window_system.h"
#include "tests/runtime/test_image.h"

namespace {

using namespace runtime;

// A window system with one plain window as its start window.
struct OneWindow {
  static inline HWND window = nullptr;
  static inline bool alive = false;
  static inline int idle_calls = 0;
  static inline int end_routine_calls = 0;
  static inline std::vector<long> host_idle_counts;

  static LRESULT proc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp) {
    if (message == WM_DESTROY) {
      alive = false;
      after_window_destroyed();
    }
    return DefWindowProcA(hwnd, message, wp, lp);
  }
  static bool load_start_window(std::uint32_t) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.lpszClassName = "RuntimeLoopTestWindow";
    RegisterClassA(&wc);
    window = CreateWindowExA(0, "RuntimeLoopTestWindow", "t", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                             nullptr, nullptr, nullptr);
    alive = window != nullptr;
    return alive;
  }
  static bool any_window_alive() { return alive; }
  static void unload_all() {
    if (alive) DestroyWindow(window);
  }
  static void idle(std::intptr_t argument) {
    // The third round of the first idle phase closes the window: the loop must then end by itself.
    if (++idle_calls == 3) PostMessageA(reinterpret_cast<HWND>(argument), WM_CLOSE, 0, 0);
  }
};

class CountingHost : public HostApplication {
 public:
  using HostApplication::HostApplication;
  bool on_idle(long count) override {
    OneWindow::host_idle_counts.push_back(count);
    return count < 2;  // asks for two more rounds, then rests
  }
};

TEST(MessageLoopTest, ClosingTheLastWindowEndsTheLoopAndTheProgramOnce) {
  static const WindowSystem ws{.load_start_window = OneWindow::load_start_window,
                               .any_window_alive = OneWindow::any_window_alive,
                               .unload_all = OneWindow::unload_all};
  install_window_system(&ws);
  OneWindow::idle_calls = OneWindow::end_routine_calls = 0;
  OneWindow::host_idle_counts.clear();
  runtime_test::TestImage image;
  CountingHost host(image.header(), [](const ServiceTable& services) {
    services.numbered(kStartup, 0, 0, 0, 0, 0, 0);
    services.numbered(kRegisterEndRoutine,
                      reinterpret_cast<std::intptr_t>(+[] { ++OneWindow::end_routine_calls; }), 0, 0, 0, 0,
                      0);
    services.load_start_window(0x52010001);
    std::intptr_t entry[3] = {reinterpret_cast<std::intptr_t>(OneWindow::window),
                              reinterpret_cast<std::intptr_t>(&OneWindow::idle),
                              reinterpret_cast<std::intptr_t>(OneWindow::window)};
    runtime_callback(callback::kAddIdle, reinterpret_cast<std::intptr_t>(entry), 0);
    services.message_loop();
    return 0;
  });
  EXPECT_EQ(host.run(), 0);
  EXPECT_FALSE(OneWindow::alive);
  EXPECT_GE(OneWindow::idle_calls, 3);
  ASSERT_GE(OneWindow::host_idle_counts.size(), 3u);
  EXPECT_EQ(OneWindow::host_idle_counts[0], 0);
  EXPECT_EQ(OneWindow::host_idle_counts[1], 1);
  EXPECT_EQ(OneWindow::host_idle_counts[2], 2);
  // The close message was an idle trigger: the next phase started again from count 0.
  if (OneWindow::host_idle_counts.size() > 3) {
    EXPECT_EQ(OneWindow::host_idle_counts[3], 0);
  }
  EXPECT_EQ(OneWindow::end_routine_calls, 1);
  EXPECT_TRUE(host.state().idle_callbacks.empty());
  install_window_system(nullptr);
}

TEST(MessageLoopTest, NoLiveWindowReturnsAtOnce) {
  runtime_test::TestImage image;
  HostApplication host(image.header(), [](const ServiceTable& services) {
    services.numbered(kStartup, 0, 0, 0, 0, 0, 0);
    services.message_loop();
    return 0;
  });
  host.initialise();
  EXPECT_TRUE(host.state().message_loop_started);
  host.exit();
}

TEST(MessageLoopTest, ModalLoopEndsWhenItsWindowIdIsClearedAndLeavesQuitForTheOuterLoop) {
  static const WindowSystem ws{.unit_gone = [](std::uint32_t, std::uint32_t unit) { return unit == 0; }};
  install_window_system(&ws);
  runtime_test::TestImage image;
  HostApplication host(image.header(), [](const ServiceTable& services) {
    services.numbered(kStartup, 0, 0, 0, 0, 0, 0);
    return 0;
  });
  host.initialise();
  HWND hidden = host.state().hidden_window.load();

  // A quit message ends the nested loop and stays queued.
  host.state().modal_window = 0x52000009;
  PostQuitMessage(3);
  run_modal_loop(0x52010002);
  EXPECT_EQ(modal_window(), 0x52000009u);  // restored
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 3u);

  // The modal window's destruction (callback 2000 for the window itself) ends it too.
  host.state().modal_window = 0;
  static const std::uint32_t id = 0x52010002;
  SetTimer(hidden, 1, 1, [](HWND h, UINT, UINT_PTR t, DWORD) {
    KillTimer(h, t);
    runtime_callback(callback::kUnitGone, id, 0);
  });
  run_modal_loop(id);
  EXPECT_EQ(modal_window(), 0u);
  host.exit();
  install_window_system(nullptr);
}

}  // namespace
