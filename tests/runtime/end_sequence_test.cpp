#include "runtime/end_sequence.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <thread>

#include "platform/api/user.h"
#include "runtime/host_app.h"
#include "runtime/service_table.h"
#include "tests/runtime/test_image.h"

namespace {

using namespace runtime;

std::thread::id& main_thread_id() {
  static std::thread::id id;
  return id;
}

bool is_main_thread() {
  return std::this_thread::get_id() == main_thread_id();
}

std::int32_t start_with_loud_end_routine(const ServiceTable& services) {
  services.numbered(kStartup, 0, 0, 0, 0, 0, 0);
  services.numbered(kRegisterEndRoutine,
                    reinterpret_cast<std::intptr_t>(+[] { std::fputs("end routine ran\n", stderr); }), 0, 0,
                    0, 0, 0);
  return 0;
}

// Serves the main thread's queue until the process ends (the worker's request arrives here).
[[noreturn]] void serve_messages() {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0)) DispatchMessageA(&message);
  std::fputs("message loop ended\n", stderr);
  std::exit(99);
}

class EndSequenceTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("LYRICS_MESSAGEBOX", "default", 1); }
};

TEST_F(EndSequenceTest, WorkerEndRequestRunsTheEndOnTheMainThread) {
  runtime_test::TestImage image;
  image.add_library([](std::int32_t code, std::intptr_t, std::intptr_t) -> std::intptr_t {
    if (code == 6) std::fprintf(stderr, "notified on main thread: %d\n", is_main_thread() ? 1 : 0);
    return 0;
  });
  EXPECT_EXIT(
      {
        HostApplication host(image.header(), start_with_loud_end_routine);
        host.initialise();
        main_thread_id() = std::this_thread::get_id();
        std::thread worker([] {
          service_table().end_program(7);
          std::fputs("worker came back\n", stderr);
        });
        worker.detach();
        serve_messages();
      },
      ::testing::ExitedWithCode(7), "^end routine ran\nnotified on main thread: 1\n$");
}

TEST_F(EndSequenceTest, WorkerRequestDuringTheEndReturnsToTheWorker) {
  static std::atomic<bool> worker_returned{false};
  worker_returned = false;
  runtime_test::TestImage image;
  HostApplication host(image.header(), [](const ServiceTable& services) {
    services.numbered(kStartup, 0, 0, 0, 0, 0, 0);
    // The end routine runs inside the end sequence, with the hidden window still there: a worker
    // asking to end now must come back rather than wait for (or end) the main thread.
    services.numbered(kRegisterEndRoutine, reinterpret_cast<std::intptr_t>(+[] {
                        std::thread worker([] {
                          service_table().end_program(5);
                          worker_returned = true;
                        });
                        worker.join();
                      }),
                      0, 0, 0, 0, 0);
    return 0;
  });
  host.initialise();
  EXPECT_EQ(host.exit(), 0);
  EXPECT_TRUE(worker_returned.load());

  // After the end, too.
  worker_returned = false;
  std::thread late([] {
    service_table().end_program(5);
    worker_returned = true;
  });
  late.join();
  EXPECT_TRUE(worker_returned.load());
}

TEST_F(EndSequenceTest, WorkerRuntimeErrorEndsTheProgramWithoutTheEndRoutine) {
  runtime_test::TestImage image;
  EXPECT_EXIT(
      {
        HostApplication host(image.header(), start_with_loud_end_routine);
        host.initialise();
        std::thread worker([] { service_table().report_error(2); });
        worker.detach();
        serve_messages();
      },
      ::testing::ExitedWithCode(255), "^\\[MessageBox\\][^\n]*\n[^\n]*\n\n[^\n]*2\n\n[^\n]*\n\n$");
}

}  // namespace
