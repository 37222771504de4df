// A stopped clock: a thread waiting for a timer or a time-out wakes exactly when the test moves
// the clock to it, whatever way it waits; the tick count and message times read the same clock.
#include <atomic>
#include <memory>
#include <thread>

#include "tests/platform/winsys/winsys_fixture.h"
#include "tests/support/manual_clock.h"

namespace lyr::test {
namespace {

class StoppedClock : public WinsysTest {
 protected:
  void SetUp() override {
    if (!clock_.active()) GTEST_SKIP() << "needs LYRICS_DISPLAY=headless";
    WinsysTest::SetUp();
  }
  ManualClock clock_;
};

struct Wait {
  const char* name;
  bool timer;           // a 100 ms thread timer is set; otherwise the wait's own time-out is 100 ms
  bool (*until_due)();  // waits; true when it ended for the timer or the time-out
};

bool by_get_message() {
  MSG m{};
  return GetMessageA(&m, nullptr, 0, 0) > 0 && m.message == WM_TIMER;
}

bool by_msg_wait_for_the_timer() {
  return MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_TIMER) == WAIT_OBJECT_0;
}

bool by_msg_wait_time_out() {
  HANDLE never = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  const DWORD r = MsgWaitForMultipleObjects(1, &never, FALSE, 100, QS_ALLINPUT);
  CloseHandle(never);
  return r == WAIT_TIMEOUT;
}

TEST_F(StoppedClock, AWaitingThreadWakesWhenTheClockReachesItsTime) {
  const Wait waits[] = {
      {"GetMessageA for a timer", true, &by_get_message},
      {"MsgWaitForMultipleObjects for a timer", true, &by_msg_wait_for_the_timer},
      {"MsgWaitForMultipleObjects time-out", false, &by_msg_wait_time_out},
  };
  for (const Wait& wait : waits) {
    SCOPED_TRACE(wait.name);
    // Shared with the worker, which a broken wake leaves behind.
    struct Shared {
      HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
      HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
      std::atomic<HWND> window{nullptr};
      std::atomic<bool> ended_for_it{false};
      std::atomic<DWORD> woke_at{0};
    };
    auto shared = std::make_shared<Shared>();
    const DWORD start = GetTickCount();
    std::thread worker([shared, wait] {
      shared->window =
          CreateWindowExA(0, "LogWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
      if (wait.timer) SetTimer(nullptr, 0, 100, nullptr);
      SetEvent(shared->ready);
      shared->ended_for_it = wait.until_due();
      shared->woke_at = GetTickCount();
      DestroyWindow(shared->window);
      SetEvent(shared->done);
    });
    const auto give_up = [&](const char* why) {
      ADD_FAILURE() << why;
      worker.detach();
    };
    // A send is served only inside the wait: once it is answered, the wait has begun (and taken
    // its time-out from the clock as it stands).
    DWORD_PTR answer = 0;
    if (WaitForSingleObject(shared->ready, 30000) != WAIT_OBJECT_0 ||
        !SendMessageTimeoutA(shared->window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &answer)) {
      give_up("the waiting thread never waited");
      continue;
    }
    clock_.advance(99);
    EXPECT_EQ(WaitForSingleObject(shared->done, 0), static_cast<DWORD>(WAIT_TIMEOUT))
        << "not before its time";
    clock_.advance(1);
    if (WaitForSingleObject(shared->done, 30000) != WAIT_OBJECT_0) {
      give_up("moving the clock did not wake the waiting thread");
      continue;
    }
    worker.join();
    EXPECT_TRUE(shared->ended_for_it);
    EXPECT_EQ(shared->woke_at - start, 100u);
    CloseHandle(shared->ready);
    CloseHandle(shared->done);
  }
}

// The display thread waits in the backend, not on its queue's condition.
TEST_F(StoppedClock, TheDisplayThreadWakesForItsTimer) {
  HWND w = make(WS_POPUP, 0, 0, 10, 10);
  ASSERT_EQ(SetTimer(w, 3, 250, nullptr), 3u);
  std::atomic<bool> got{false};
  std::thread mover([&] {
    clock_.advance(250);
    // Should the wake go astray, a message of its own ends the wait (and the test fails).
    for (int i = 0; i < 3000 && !got; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (!got) PostMessageA(w, WM_USER, 0, 0);
  });
  MSG msg{};
  ASSERT_GT(GetMessageA(&msg, w, 0, 0), 0);
  got = true;
  mover.join();
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
  KillTimer(w, 3);
}

TEST_F(StoppedClock, TickCountAndMessageTimesReadIt) {
  HWND w = make(WS_POPUP, 0, 0, 10, 10);
  const DWORD start = GetTickCount();
  clock_.advance(1234);
  EXPECT_EQ(GetTickCount() - start, 1234u);
  PostMessageA(w, WM_USER, 0, 0);
  clock_.advance(50);
  MSG msg{};
  ASSERT_TRUE(PeekMessageA(&msg, w, WM_USER, WM_USER, PM_REMOVE));
  EXPECT_EQ(msg.time - start, 1234u) << "stamped when posted";
  EXPECT_EQ(static_cast<DWORD>(GetMessageTime()) - start, 1234u);
}

}  // namespace
}  // namespace lyr::test
