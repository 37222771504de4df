// A user who closes the main window while a preview is still fetching: the worker's fetch comes
// back to a window that is gone, and the program still ends cleanly with 0 and no error box.
// Each case runs in a child copy of this program, which ends the process as the finder does.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

#include "libs/threads/start_thread.h"
#include "platform/api/kernel.h"
#include "platform/api/user.h"
#include "runtime/end_sequence.h"
#include "runtime/message_loop.h"
#include "runtime/runtime_error.h"
#include "tests/app/support/finder.h"
#include "tests/app/support/lyric_server.h"
#include "tests/support/raw_http_server.h"
#include "tests/support/xvfb_session.h"

namespace {

using namespace std::chrono_literals;

constexpr char kChildVariable[] = "LYRICS_CLOSING_CHILD";

// A lyric reply held back until the test lets it go.
class HeldLyric {
 public:
  HeldLyric()
      : server_([this](const std::string&, lyr::test::RawHttpServer::Connection& reply) {
          std::unique_lock lock(mutex_);
          asked_ = true;
          changed_.notify_all();
          changed_.wait_for(lock, 20s, [this] { return released_; });
          reply.send(lyr::test::http_head("HTTP/1.1 200 OK", {"Content-Type: text/plain"}) +
                     "[00:01.00]la\n");
          answered_ = true;
          changed_.notify_all();
        }) {}

  std::string url() const { return server_.url("/lrc/1.lrc"); }
  // Runs the finder's messages (the worker reads the row through them) until the worker has
  // asked for the lyric.
  bool wait_until_asked(app_test::Finder& finder) {
    const auto limit = std::chrono::steady_clock::now() + 60s;
    std::unique_lock lock(mutex_);
    while (!asked_ && std::chrono::steady_clock::now() < limit) {
      lock.unlock();
      finder.pump();
      lock.lock();
      changed_.wait_for(lock, 1ms, [this] { return asked_; });
    }
    return asked_;
  }
  void release() {
    std::unique_lock lock(mutex_);
    released_ = true;
    changed_.notify_all();
    changed_.wait_for(lock, 10s, [this] { return answered_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool asked_ = false, released_ = false, answered_ = false;
  lyr::test::RawHttpServer server_;
};

// Runs the finder's messages until the one worker has been parked for the end.
bool serve_until_the_worker_is_parked(app_test::Finder& finder) {
  const auto limit = std::chrono::steady_clock::now() + 60s;
  while (runtime::parked_threads() == 0 && std::chrono::steady_clock::now() < limit) {
    finder.pump();
    std::this_thread::sleep_for(1ms);
  }
  return runtime::parked_threads() == 1 && libs::threads::running_threads() == 1;
}

// Searches, double-clicks the hit and closes the window while the lyric is held back; the lyric
// arrives after the close (`ended`: only once the end sequence has run).
[[noreturn]] void close_during_preview(bool ended) {
  app_test::LyricServer service(app_test::service_port());
  HeldLyric lyric;
  service.reply("/api/lyric/abc/", app_test::search_reply({{"1", lyric.url()}}));
  app_test::Finder finder;
  finder.set_keywords("abc", "");
  finder.search();
  if (finder.row_count() != 1) std::_Exit(3);
  finder.double_click_row(0);
  if (!lyric.wait_until_asked(finder)) std::_Exit(4);
  // The user's close, seen by the program's own message loop, which ends with it.
  HWND window = finder.window();
  PostMessageA(window, WM_CLOSE, 0, 0);
  runtime::message_loop();
  if (IsWindow(window)) std::_Exit(5);
  if (ended) runtime::run_end_sequence(0);
  lyric.release();
  // The worker's lyric meets a window that is gone: the worker stays parked, silently.
  if (!serve_until_the_worker_is_parked(finder)) std::_Exit(7);
  runtime::end_program(0);
  std::_Exit(6);
}

void expect_clean_exit(const std::string& child) {
  testing::internal::CaptureStderr();
  pid_t pid = test_support::spawn_self("ClosingChild.DISABLED_" + child,
                                       {std::string(kChildVariable) + "=1", "LYRICS_DISPLAY=headless"});
  ASSERT_GT(pid, 0);
  std::optional<int> code = test_support::wait_child(pid, 60s);
  const std::string printed = testing::internal::GetCapturedStderr();
  ASSERT_TRUE(code.has_value()) << printed;
  EXPECT_EQ(*code, 0) << printed;
  EXPECT_EQ(printed.find("[MessageBox]"), std::string::npos) << printed;
}

TEST(ClosingDuringPreview, TheLyricArrivingAfterTheWindowClosedEndsTheProgramWithZero) {
  expect_clean_exit("LyricAfterClose");
}

TEST(ClosingDuringPreview, TheLyricArrivingDuringTheEndSequenceShowsNoError) {
  expect_clean_exit("LyricAfterEnd");
}

TEST(ClosingChild, DISABLED_LyricAfterClose) {
  if (std::getenv(kChildVariable) == nullptr) GTEST_SKIP();
  close_during_preview(false);
}

TEST(ClosingChild, DISABLED_LyricAfterEnd) {
  if (std::getenv(kChildVariable) == nullptr) GTEST_SKIP();
  close_during_preview(true);
}

}  // namespace
