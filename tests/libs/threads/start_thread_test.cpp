// StartThread's argument rules, concurrent workers, and the library's notify routine.
#include "libs/threads/start_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <vector>

#include "libs/threads/critical_sections.h"
#include "libs/threads/thread_library.h"
#include "platform/api/kernel.h"
#include "runtime/abi/records.h"

namespace {

using libs::threads::start_thread_command;

std::atomic<int> finished{0};
std::atomic<std::uintptr_t> seen_parameter{~std::uintptr_t{0}};

DWORD WINAPI record_parameter(LPVOID parameter) {
  seen_parameter = reinterpret_cast<std::uintptr_t>(parameter);
  ++finished;
  return static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(parameter) * 2);
}

// Holds its thread until the test opens the gate.
HANDLE gate = nullptr;
DWORD WINAPI wait_at_gate(LPVOID) {
  return WaitForSingleObject(gate, INFINITE);
}

// Two of these finish only when both run at the same time.
HANDLE meet_events[2];
DWORD WINAPI meet(LPVOID parameter) {
  const auto me = reinterpret_cast<std::uintptr_t>(parameter);
  SetEvent(meet_events[me]);
  const DWORD waited = WaitForSingleObject(meet_events[1 - me], 5000);
  ++finished;
  return waited == WAIT_OBJECT_0 ? 1 : 0;
}

runtime::ArgRecord routine(LPTHREAD_START_ROUTINE r) {
  runtime::ArgRecord a{};
  a.set_pointer(reinterpret_cast<const void*>(r));
  a.tag = runtime::tag::kRoutine;
  return a;
}
runtime::ArgRecord integer(std::int32_t v) {
  return {static_cast<std::uint32_t>(v), 0, runtime::tag::kInt};
}
runtime::ArgRecord variable(std::uint32_t* v) {
  runtime::ArgRecord a{};
  a.set_pointer(v);
  a.tag = runtime::tag::kInt;
  return a;
}

runtime::ArgRecord start(std::vector<runtime::ArgRecord> args) {
  runtime::ArgRecord result{};
  start_thread_command(&result, static_cast<std::int32_t>(args.size()), args.data());
  return result;
}

void wait_for_finished(int n) {
  for (int i = 0; i < 500 && finished < n; ++i) Sleep(10);
}

class StartThread : public ::testing::Test {
 protected:
  void SetUp() override {
    finished = 0;
    seen_parameter = ~std::uintptr_t{0};
  }
};

TEST_F(StartThread, WithTheHandleVariableTheCallerOwnsTheHandle) {
  std::uint32_t handle = 0xDEADBEEF;
  const runtime::ArgRecord result = start({routine(&record_parameter), integer(21), variable(&handle)});
  EXPECT_EQ(result.tag, runtime::tag::kBool);
  EXPECT_EQ(result.lo, 1u);
  ASSERT_NE(handle, 0xDEADBEEFu);
  const auto thread = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(handle));
  ASSERT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeThread(thread, &code));
  EXPECT_EQ(code, 42u) << "the routine's result is the exit code";
  EXPECT_EQ(seen_parameter, 21u);
  EXPECT_TRUE(CloseHandle(thread));
}

TEST_F(StartThread, WithoutTheHandleVariableTheThreadRunsDetached) {
  // Handles are never reused, so the thread's lies between two events made around the call.
  HANDLE before = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  EXPECT_EQ(start({routine(&record_parameter)}).lo, 1u);
  HANDLE after = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  wait_for_finished(1);
  EXPECT_EQ(seen_parameter, 0u) << "no parameter: null";
  for (auto h = reinterpret_cast<std::uintptr_t>(before) + 1; h < reinterpret_cast<std::uintptr_t>(after);
       ++h) {
    EXPECT_FALSE(CloseHandle(reinterpret_cast<HANDLE>(h))) << "handle " << h << " was left open";
  }
  CloseHandle(before);
  CloseHandle(after);

  // A parameter and a handle variable given with tag 0 count as absent.
  std::uint32_t handle = 7;
  runtime::ArgRecord absent_parameter = integer(5);
  absent_parameter.tag = runtime::tag::kNone;
  runtime::ArgRecord absent_variable = variable(&handle);
  absent_variable.tag = runtime::tag::kNone;
  EXPECT_EQ(start({routine(&record_parameter), absent_parameter, absent_variable}).lo, 1u);
  wait_for_finished(2);
  EXPECT_EQ(seen_parameter, 0u);
  EXPECT_EQ(handle, 7u) << "an absent variable is not written";
}

TEST_F(StartThread, AThreadThatCannotStartAnswersFalseAndWritesTheNullHandle) {
  std::uint32_t handle = 7;
  runtime::ArgRecord none{};
  EXPECT_EQ(start({none, integer(1), variable(&handle)}).lo, 0u);
  EXPECT_EQ(handle, 0u);
  EXPECT_EQ(start({}).lo, 0u);
}

TEST_F(StartThread, RunningThreadsCountsEachUntilItsRoutineReturns) {
  // Detached threads of the cases before may still be on their way out.
  for (int i = 0; i < 1000 && libs::threads::running_threads() != 0; ++i) Sleep(10);
  ASSERT_EQ(libs::threads::running_threads(), 0);
  gate = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::uint32_t handles[2] = {};
  for (std::uint32_t& h : handles)
    ASSERT_EQ(start({routine(&wait_at_gate), integer(0), variable(&h)}).lo, 1u);
  EXPECT_EQ(libs::threads::running_threads(), 2) << "counted from StartThread's answer on";
  EXPECT_EQ(start({routine(nullptr)}).lo, 0u);
  EXPECT_EQ(libs::threads::running_threads(), 2) << "a thread that never started is not counted";
  SetEvent(gate);
  for (std::uint32_t h : handles) {
    const auto thread = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(h));
    EXPECT_EQ(WaitForSingleObject(thread, 30000), WAIT_OBJECT_0);
    CloseHandle(thread);
  }
  EXPECT_EQ(libs::threads::running_threads(), 0) << "a thread whose routine returned is no longer counted";
  CloseHandle(gate);
}

TEST_F(StartThread, TwoWorkersRunAtOnce) {
  meet_events[0] = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  meet_events[1] = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::uint32_t handles[2] = {};
  for (std::uint32_t i = 0; i < 2; ++i) {
    ASSERT_EQ(start({routine(&meet), integer(static_cast<std::int32_t>(i)), variable(&handles[i])}).lo, 1u);
  }
  for (std::uint32_t h : handles) {
    const auto thread = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(h));
    ASSERT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
    DWORD met = 0;
    GetExitCodeThread(thread, &met);
    EXPECT_EQ(met, 1u) << "each saw the other running";
    CloseHandle(thread);
  }
  for (HANDLE e : meet_events) CloseHandle(e);
}

TEST(ThreadLibrary, NotifyStoresTheCallbackAndEmptiesTheLockListAtTheEnd) {
  auto callback = [](std::int32_t, std::intptr_t, std::intptr_t) -> std::intptr_t { return 0; };
  const runtime::LibraryRecord& record = libs::threads::thread_library_record();
  ASSERT_EQ(record.notify, &libs::threads::thread_library_notify);
  EXPECT_EQ(record.notify(1, reinterpret_cast<std::intptr_t>(+callback), 0), 0);
  EXPECT_EQ(libs::threads::thread_library_link().callback(), +callback);

  libs::threads::CriticalSectionList& list = libs::threads::critical_sections();
  CRITICAL_SECTION* first = list.add();
  EnterCriticalSection(first);
  LeaveCriticalSection(first);
  list.add();
  EXPECT_EQ(list.size(), 2u);
  EXPECT_EQ(record.notify(6, 0, 0), 0);
  EXPECT_EQ(list.size(), 0u);
  EXPECT_EQ(record.notify(6, 0, 0), 0) << "an empty list stays empty";
  EXPECT_EQ(record.notify(2, 0, 0), -1);
  EXPECT_EQ(record.command_count, 1u);
  EXPECT_EQ(record.commands[0], &start_thread_command);
}

}  // namespace
