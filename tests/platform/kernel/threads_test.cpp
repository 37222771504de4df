#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/api/kernel.h"
#include "platform/kernel/wait_hook.h"

namespace {

DWORD WINAPI return_parameter(LPVOID p) {
  return static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(p));
}

DWORD WINAPI wait_for_event(LPVOID p) {
  WaitForSingleObject(static_cast<HANDLE>(p), INFINITE);
  return 5;
}

DWORD WINAPI report_id(LPVOID p) {
  *static_cast<DWORD*>(p) = GetCurrentThreadId();
  return 0;
}

TEST(Threads, RunWaitAndExitCode) {
  DWORD id = 0;
  HANDLE t = CreateThread(nullptr, 0, return_parameter, reinterpret_cast<LPVOID>(77), 0, &id);
  ASSERT_NE(t, nullptr);
  EXPECT_NE(id, 0u);
  EXPECT_NE(id, GetCurrentThreadId());
  EXPECT_EQ(WaitForSingleObject(t, 5000), WAIT_OBJECT_0);
  DWORD code = 0;
  ASSERT_TRUE(GetExitCodeThread(t, &code));
  EXPECT_EQ(code, 77u);
  EXPECT_TRUE(CloseHandle(t));
}

TEST(Threads, ReportedIdIsTheThreadsOwnId) {
  DWORD reported = 0, seen = 0;
  HANDLE t = CreateThread(nullptr, 64 * 1024, report_id, &seen, 0, &reported);
  ASSERT_EQ(WaitForSingleObject(t, 5000), WAIT_OBJECT_0);
  EXPECT_EQ(seen, reported);
  CloseHandle(t);
}

TEST(Threads, StillActiveUntilDoneAndSuspendedUntilResumed) {
  HANDLE go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE t = CreateThread(nullptr, 0, wait_for_event, go, 0, nullptr);
  DWORD code = 0;
  ASSERT_TRUE(GetExitCodeThread(t, &code));
  EXPECT_EQ(code, STILL_ACTIVE);
  EXPECT_EQ(WaitForSingleObject(t, 30), WAIT_TIMEOUT);
  SetEvent(go);
  EXPECT_EQ(WaitForSingleObject(t, 5000), WAIT_OBJECT_0);
  GetExitCodeThread(t, &code);
  EXPECT_EQ(code, 5u);
  CloseHandle(t);

  HANDLE s =
      CreateThread(nullptr, 0, return_parameter, reinterpret_cast<LPVOID>(3), CREATE_SUSPENDED, nullptr);
  EXPECT_EQ(WaitForSingleObject(s, 30), WAIT_TIMEOUT);
  EXPECT_EQ(ResumeThread(s), 1u);
  EXPECT_EQ(WaitForSingleObject(s, 5000), WAIT_OBJECT_0);
  CloseHandle(s);
  CloseHandle(go);
}

TEST(Threads, ClosingTheHandleLeavesTheThreadRunning) {
  std::atomic<bool> ran{false};
  HANDLE t = CreateThread(
      nullptr, 0,
      [](LPVOID p) -> DWORD {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        static_cast<std::atomic<bool>*>(p)->store(true);
        return 0;
      },
      &ran, 0, nullptr);
  ASSERT_TRUE(CloseHandle(t));
  for (int i = 0; i < 500 && !ran; ++i) Sleep(10);
  EXPECT_TRUE(ran);
}

TEST(Handles, InvalidAndClosedHandlesAreRejected) {
  HANDLE e = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  ASSERT_TRUE(CloseHandle(e));
  SetLastError(0);
  EXPECT_FALSE(CloseHandle(e));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(CloseHandle(nullptr));
  EXPECT_FALSE(CloseHandle(reinterpret_cast<HANDLE>(0x12345)));
  EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_FAILED);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(SetEvent(e));
  DWORD code;
  EXPECT_FALSE(GetExitCodeThread(e, &code));
  // A new object never gets the old value back.
  HANDLE again = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  EXPECT_NE(again, e);
  // The wrong kind of handle is rejected too.
  EXPECT_FALSE(GetExitCodeThread(again, &code));
  EXPECT_EQ(ResumeThread(again), static_cast<DWORD>(-1));
  CloseHandle(again);
  EXPECT_EQ(GetCurrentThread(), GetCurrentThread());
  EXPECT_TRUE(GetExitCodeThread(GetCurrentThread(), &code));
  EXPECT_EQ(code, STILL_ACTIVE);
}

TEST(Events, AutoResetReleasesOneWaitManualResetStays) {
  HANDLE autoe = CreateEventA(nullptr, FALSE, TRUE, nullptr);
  EXPECT_EQ(WaitForSingleObject(autoe, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(autoe, 0), WAIT_TIMEOUT);
  HANDLE manual = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_TIMEOUT);
  SetEvent(manual);
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
  ResetEvent(manual);
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_TIMEOUT);
  CloseHandle(autoe);
  CloseHandle(manual);
}

TEST(Events, TimeoutWaitsAtLeastTheTimeAndWakesOnSignal) {
  HANDLE e = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  DWORD start = GetTickCount();
  EXPECT_EQ(WaitForSingleObject(e, 60), WAIT_TIMEOUT);
  EXPECT_GE(GetTickCount() - start, 59u);
  std::thread setter([e] {
    Sleep(30);
    SetEvent(e);
  });
  EXPECT_EQ(WaitForSingleObject(e, INFINITE), WAIT_OBJECT_0);
  setter.join();
  CloseHandle(e);
}

TEST(Waits, MultipleObjectsAnyAndAll) {
  HANDLE a = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE b = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE both[] = {a, b};
  EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 0), WAIT_TIMEOUT);
  SetEvent(b);
  EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 0), WAIT_OBJECT_0 + 1);
  EXPECT_EQ(WaitForMultipleObjects(2, both, TRUE, 20), WAIT_TIMEOUT);
  SetEvent(a);
  EXPECT_EQ(WaitForMultipleObjects(2, both, TRUE, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 0), WAIT_OBJECT_0);  // the lowest index wins
  EXPECT_EQ(WaitForMultipleObjects(0, both, FALSE, 0), WAIT_FAILED);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  HANDLE with_bad[] = {a, reinterpret_cast<HANDLE>(0x7777)};
  EXPECT_EQ(WaitForMultipleObjects(2, with_bad, FALSE, 0), WAIT_FAILED);
  CloseHandle(a);
  CloseHandle(b);
}

TEST(Waits, AHookServesTheWaitingThreadUntilTheObjectIsSignaled) {
  static std::atomic<int> served{0};
  static std::atomic<bool> pending{false};
  served = 0;
  platform::kernel::set_wait_hook([] {
    if (pending.exchange(false)) ++served;
  });
  HANDLE e = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  std::thread poster([e] {
    for (int i = 0; i < 3; ++i) {
      Sleep(10);
      pending = true;
      platform::kernel::wake_waiters();
      while (pending) Sleep(1);  // served by the waiting thread, not this one
    }
    SetEvent(e);
  });
  EXPECT_EQ(WaitForSingleObject(e, 5000), WAIT_OBJECT_0);
  poster.join();
  platform::kernel::set_wait_hook(nullptr);
  EXPECT_EQ(served, 3);
  CloseHandle(e);
}

TEST(Waits, AnInterruptCheckEndsTheWaitAfterTheObjects) {
  static std::atomic<bool> input{false};
  auto has_input = [](void*) -> bool { return input.load(); };
  HANDLE e = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  EXPECT_EQ(platform::kernel::wait_for_objects(std::span(&e, 1), false, 20, has_input), WAIT_TIMEOUT);
  EXPECT_EQ(platform::kernel::wait_for_objects({}, false, 20, has_input), WAIT_TIMEOUT);
  std::thread poster([] {
    Sleep(20);
    input = true;
    platform::kernel::wake_waiters();
  });
  EXPECT_EQ(platform::kernel::wait_for_objects(std::span(&e, 1), false, INFINITE, has_input),
            WAIT_OBJECT_0 + 1);
  poster.join();
  // A signaled object is reported before the interrupt.
  SetEvent(e);
  EXPECT_EQ(platform::kernel::wait_for_objects(std::span(&e, 1), false, 0, has_input), WAIT_OBJECT_0);
  input = false;
  EXPECT_EQ(platform::kernel::wait_for_objects({}, false, 0), WAIT_FAILED);
  CloseHandle(e);
}

TEST(CriticalSection, IsRecursiveAndExcludesOtherThreads) {
  CRITICAL_SECTION cs;
  InitializeCriticalSection(&cs);
  EnterCriticalSection(&cs);
  EnterCriticalSection(&cs);  // recursive
  std::atomic<int> other_got_it{-1};
  std::thread([&] { other_got_it = TryEnterCriticalSection(&cs); }).join();
  EXPECT_EQ(other_got_it, FALSE);
  LeaveCriticalSection(&cs);
  std::thread([&] { other_got_it = TryEnterCriticalSection(&cs); }).join();
  EXPECT_EQ(other_got_it, FALSE);  // still held once
  // A leave from a thread that does not own it changes nothing.
  std::thread([&] { LeaveCriticalSection(&cs); }).join();
  EXPECT_EQ(cs.RecursionCount, 1);
  LeaveCriticalSection(&cs);
  std::thread([&] {
    other_got_it = TryEnterCriticalSection(&cs);
    if (other_got_it) LeaveCriticalSection(&cs);
  }).join();
  EXPECT_EQ(other_got_it, TRUE);
  DeleteCriticalSection(&cs);
  EnterCriticalSection(&cs);  // deleted: ignored, no crash
  LeaveCriticalSection(&cs);
}

TEST(CriticalSection, ProtectsACounterAcrossThreads) {
  CRITICAL_SECTION cs;
  InitializeCriticalSection(&cs);
  long counter = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&] {
      for (int i = 0; i < 20000; ++i) {
        EnterCriticalSection(&cs);
        long v = counter;
        counter = v + 1;
        LeaveCriticalSection(&cs);
      }
    });
  for (auto& th : threads) th.join();
  EXPECT_EQ(counter, 80000);
  DeleteCriticalSection(&cs);
}

TEST(Time, TickCountIsMonotonicAndSleepSleeps) {
  DWORD a = GetTickCount();
  Sleep(25);
  DWORD b = GetTickCount();
  EXPECT_GE(b - a, 24u);
  EXPECT_LT(b - a, 5000u);
}

}  // namespace
