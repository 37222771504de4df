// Queues and sending: posted order, WM_QUIT, cross-thread sends in both directions, timeouts,
// threads that end.
#include <atomic>
#include <thread>

#include "tests/platform/winsys/winsys_fixture.h"
#include "tests/support/manual_clock.h"

namespace lyr::test {
namespace {

using Messages = WinsysTest;

TEST_F(Messages, QuitComesAfterEveryPostedMessage) {
  HWND w = make(WS_POPUP, 0, 0, 10, 10);
  PostMessageA(w, WM_USER + 1, 1, 0);
  PostMessageA(w, WM_USER + 2, 2, 0);
  PostQuitMessage(7);
  PostMessageA(w, WM_USER + 3, 3, 0);
  PostThreadMessageA(GetCurrentThreadId(), WM_USER + 4, 4, 0);
  std::vector<UINT> got;
  MSG msg;
  BOOL r;
  while ((r = GetMessageA(&msg, nullptr, 0, 0)) > 0) got.push_back(msg.message);
  EXPECT_EQ(r, 0);
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wParam, 7u);
  const std::vector<UINT> want = {WM_USER + 1, WM_USER + 2, WM_USER + 3, WM_USER + 4};
  EXPECT_EQ(got, want);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "the quit message is taken once";
}

TEST_F(Messages, PeekFiltersByWindowAndRange) {
  HWND a = make(WS_POPUP, 0, 0, 10, 10);
  HWND b = make(WS_POPUP, 0, 0, 10, 10);
  PostMessageA(a, WM_USER + 1, 0, 0);
  PostMessageA(b, WM_USER + 2, 0, 0);
  PostMessageA(a, WM_APP + 1, 0, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, b, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, WM_USER + 2u);
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_APP, WM_APP + 10, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_APP + 1u);
  ASSERT_TRUE(PeekMessageA(&msg, a, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_USER + 1u);
  EXPECT_FALSE(PeekMessageA(&msg, a, 0, 0, PM_REMOVE));
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, b);
  DWORD time = static_cast<DWORD>(GetMessageTime());
  EXPECT_EQ(time, msg.time);
}

TEST_F(Messages, PostedMessagesOfADestroyedWindowAreDropped) {
  HWND w = make(WS_POPUP, 0, 0, 10, 10);
  PostMessageA(w, WM_USER, 0, 0);
  DestroyWindow(w);
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_REMOVE));
}

TEST_F(Messages, WorkerSendIsRunOnTheOwnerThreadWhileItPumps) {
  HWND w = make(WS_POPUP, 0, 0, 10, 10);
  const DWORD owner = GetCurrentThreadId();
  std::atomic<DWORD> ran_on{0};
  log().set_override([&](HWND, UINT msg, WPARAM wp, LPARAM lp) -> std::optional<LRESULT> {
    if (msg != WM_USER) return std::nullopt;
    ran_on = GetCurrentThreadId();
    return static_cast<LRESULT>(wp + lp);
  });
  std::atomic<LRESULT> result{-1};
  std::thread worker([&] {
    result = SendMessageA(w, WM_USER, 40, 2);
    PostMessageA(w, WM_APP, 0, 0);
  });
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_APP) break;
    DispatchMessageA(&msg);
  }
  worker.join();
  EXPECT_EQ(result.load(), 42);
  EXPECT_EQ(ran_on.load(), owner);
}

TEST_F(Messages, SendersServeMessagesSentToThemWhileTheyWait) {
  HWND mine = make(WS_POPUP, 0, 0, 10, 10);
  std::atomic<HWND> theirs{nullptr};
  std::atomic<DWORD> worker_id{0};
  std::atomic<bool> ready{false};
  std::atomic<DWORD> main_proc_thread{0};
  log().set_override([&](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (hwnd == mine && msg == WM_USER + 1) {
      main_proc_thread = GetCurrentThreadId();
      return 7;
    }
    if (hwnd == theirs.load() && msg == WM_USER) {
      // The worker, serving the main thread's send, sends back to the main thread.
      return SendMessageA(mine, WM_USER + 1, 0, 0) + 1;
    }
    return std::nullopt;
  });
  std::thread worker([&] {
    theirs = CreateWindowExA(0, "LogWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    worker_id = GetCurrentThreadId();
    ready = true;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    DestroyWindow(theirs);
  });
  while (!ready) std::this_thread::yield();
  EXPECT_EQ(SendMessageA(theirs, WM_USER, 0, 0), 8);
  EXPECT_EQ(main_proc_thread.load(), GetCurrentThreadId());
  DWORD_PTR answer = 0;
  EXPECT_TRUE(SendMessageTimeoutA(theirs, WM_USER, 0, 0, SMTO_NORMAL, 5000, &answer));
  EXPECT_EQ(answer, 8u);
  PostThreadMessageA(worker_id, WM_QUIT, 0, 0);
  worker.join();
}

TEST_F(Messages, SendingToAWindowOfAnEndedThreadFails) {
  std::atomic<HWND> theirs{nullptr};
  std::thread worker([&] {
    theirs = CreateWindowExA(0, "LogWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  });
  worker.join();
  EXPECT_FALSE(IsWindow(theirs));
  EXPECT_EQ(SendMessageA(theirs, WM_USER, 0, 0), 0);
  EXPECT_FALSE(PostMessageA(theirs, WM_USER, 0, 0));
}

TEST_F(Messages, SendTimeoutGivesUpOnABusyThread) {
  std::atomic<HWND> theirs{nullptr};
  std::atomic<bool> release{false};
  std::thread worker([&] {
    theirs = CreateWindowExA(0, "LogWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(5));  // not pumping
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    DestroyWindow(theirs);
  });
  while (!theirs) std::this_thread::yield();
  DWORD_PTR answer = 99;
  EXPECT_FALSE(SendMessageTimeoutA(theirs, WM_USER, 0, 0, SMTO_NORMAL, 50, &answer));
  EXPECT_EQ(answer, 0u);
  release = true;
  worker.join();
}

TEST_F(Messages, NotifyMessagesDoNotWait) {
  std::atomic<HWND> theirs{nullptr};
  std::atomic<int> got{0};
  std::atomic<DWORD> worker_id{0};
  log().set_override([&](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg == WM_USER + 9) ++got;
    return std::nullopt;
  });
  std::thread worker([&] {
    theirs = CreateWindowExA(0, "LogWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    worker_id = GetCurrentThreadId();
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    DestroyWindow(theirs);
  });
  while (!worker_id) std::this_thread::yield();
  EXPECT_TRUE(SendNotifyMessageA(theirs, WM_USER + 9, 0, 0));
  // The worker serves it at its next wait; a synchronous send afterwards finds it done.
  SendMessageA(theirs, WM_NULL, 0, 0);
  EXPECT_EQ(got.load(), 1);
  PostThreadMessageA(worker_id, WM_QUIT, 0, 0);
  worker.join();
}

TEST_F(Messages, InSendMessageTellsCrossThreadSends) {
  HWND w = make(WS_POPUP, 0, 0, 10, 10);
  std::atomic<int> in_send{-1};
  log().set_override([&](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg == WM_USER) in_send = InSendMessage();
    return std::nullopt;
  });
  SendMessageA(w, WM_USER, 0, 0);
  EXPECT_EQ(in_send.load(), 0);
  std::thread worker([&] {
    SendMessageA(w, WM_USER, 0, 0);
    PostMessageA(w, WM_APP, 0, 0);
  });
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0 && msg.message != WM_APP) DispatchMessageA(&msg);
  worker.join();
  EXPECT_EQ(in_send.load(), 1);
}

TEST_F(Messages, TimersFireWhenDueAndCoalesce) {
  ManualClock clock;
  if (!clock.active()) GTEST_SKIP() << "needs LYRICS_DISPLAY=headless";
  HWND w = make(WS_POPUP, 0, 0, 10, 10);
  ASSERT_EQ(SetTimer(w, 7, 20, nullptr), 7u);
  MSG msg;
  clock.advance(19);
  EXPECT_FALSE(PeekMessageA(&msg, w, WM_TIMER, WM_TIMER, PM_REMOVE)) << "not before it is due";
  clock.advance(1);
  ASSERT_GT(GetMessageA(&msg, w, WM_TIMER, WM_TIMER), 0);
  EXPECT_EQ(msg.wParam, 7u);
  // Late timers fire once, and count their next period from when they were taken.
  clock.advance(100);
  int timers = 0;
  while (PeekMessageA(&msg, w, WM_TIMER, WM_TIMER, PM_REMOVE)) ++timers;
  EXPECT_EQ(timers, 1);
  clock.advance(19);
  EXPECT_FALSE(PeekMessageA(&msg, w, WM_TIMER, WM_TIMER, PM_REMOVE));
  clock.advance(1);
  EXPECT_TRUE(PeekMessageA(&msg, w, WM_TIMER, WM_TIMER, PM_REMOVE));
  EXPECT_TRUE(KillTimer(w, 7));
  EXPECT_FALSE(KillTimer(w, 7));
  clock.advance(100);
  EXPECT_FALSE(PeekMessageA(&msg, w, WM_TIMER, WM_TIMER, PM_REMOVE));
}

std::atomic<int> timer_calls{0};
void CALLBACK count_timer(HWND, UINT msg, UINT_PTR, DWORD) {
  if (msg == WM_TIMER) ++timer_calls;
}

TEST_F(Messages, ThreadTimerCallsItsProcedureThroughDispatch) {
  timer_calls = 0;
  UINT_PTR id = SetTimer(nullptr, 0, 10, count_timer);
  ASSERT_NE(id, 0u);
  MSG msg;
  ASSERT_GT(GetMessageA(&msg, nullptr, WM_TIMER, WM_TIMER), 0);
  EXPECT_EQ(msg.hwnd, nullptr);
  EXPECT_EQ(msg.wParam, id);
  DispatchMessageA(&msg);
  EXPECT_EQ(timer_calls.load(), 1);
  KillTimer(nullptr, id);
  // A forged timer message does not run a procedure that is no longer registered.
  DispatchMessageA(&msg);
  EXPECT_EQ(timer_calls.load(), 1);
}

TEST_F(Messages, DestroyedWindowTakesItsTimersAlong) {
  ManualClock clock;
  if (!clock.active()) GTEST_SKIP() << "needs LYRICS_DISPLAY=headless";
  HWND w = make(WS_POPUP, 0, 0, 10, 10);
  SetTimer(w, 1, 10, nullptr);
  DestroyWindow(w);
  clock.advance(30);
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
}

}  // namespace
}  // namespace lyr::test
