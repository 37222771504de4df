#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/api/kernel.h"
#include "platform/api/user.h"
#include "runtime/heap.h"
#include "runtime/values.h"
#include "tests/ui/property_test_support.h"
#include "ui/access/property_access.h"
#include "ui/picture_box/picture_box_properties.h"

namespace access_test {
namespace {

constexpr std::uint32_t kWindow = 0x52000070;
constexpr std::uint32_t kOwn = 0x06000070;
constexpr std::uint32_t kProbe = 0x16000071;
constexpr std::uint32_t kEdit = 0x16000072;
constexpr std::uint32_t kPicture = 0x16000073;
constexpr std::int32_t kPictureProperty = 10;

class WorkerAccess : public AccessTest {
 protected:
  void SetUp() override {
    AccessTest::SetUp();
    auto& window = templates_.add_window(kWindow, kOwn, window_block());
    templates_.add_unit(window, kProbe, kProbeType, {10, 10, 80, 20}, kVisible, probe_block("from main"));
    templates_.add_unit(window, kEdit, 0x00010005, {10, 40, 80, 20}, kVisible, edit_block("typed"));
    templates_.add_unit(window, kPicture, 0x00010006, {10, 70, 40, 40}, kVisible,
                        ui::PictureBoxProperties{}.serialize());
    start(kWindow);
  }

  // Runs `work` on a worker thread while this thread keeps pumping, as the program's loop does.
  void on_worker(const std::function<void()>& work) {
    std::atomic<bool> done{false};
    std::thread worker([&] {
      work();
      done = true;
    });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done && std::chrono::steady_clock::now() < deadline) {
      ui_test::pump();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    worker.join();
    ASSERT_TRUE(done);
  }
};

TEST_F(WorkerAccess, ReadsAndWritesFromAWorkerRunOnTheWindowsThread) {
  const std::uint32_t main_thread = GetCurrentThreadId();
  std::string text;
  std::uint32_t worker_thread = 0;
  std::uint32_t left = 0;
  on_worker([&] {
    worker_thread = GetCurrentThreadId();
    auto* value = reinterpret_cast<char*>(
        static_cast<std::uintptr_t>(ui::read_unit_property(kWindow, kProbe, probe::kText, -1)));
    text = runtime::text_or_empty(value);
    runtime::release(value);
    const std::string written = "from worker";
    ui::write_unit_property(kWindow, kProbe, probe::kText, -1,
                            reinterpret_cast<std::uintptr_t>(written.c_str()));
    ui::write_unit_property(kWindow, kProbe, 0, -1, 44);
    left = static_cast<std::uint32_t>(ui::read_unit_property(kWindow, kProbe, 0, -1));
  });
  EXPECT_NE(worker_thread, main_thread);
  EXPECT_EQ(text, "from main");
  EXPECT_EQ(probe_log().getter_thread, main_thread);
  EXPECT_EQ(probe_log().setter_thread, main_thread);
  EXPECT_EQ(probe_log().last_text, "from worker");
  EXPECT_EQ(left, 44u);
  char now[64] = {};
  GetWindowTextA(native(0, 1), now, sizeof now);
  EXPECT_STREQ(now, "from worker");
}

TEST_F(WorkerAccess, RecreationAskedForByAWorkerHappensOnTheWindowsThread) {
  HWND before = native(0, 1);
  on_worker([] { ui::write_unit_property(kWindow, kProbe, probe::kStyle, -1, 9); });
  HWND after = native(0, 1);
  ASSERT_NE(after, nullptr);
  EXPECT_NE(after, before);
  EXPECT_EQ(GetWindowThreadProcessId(after, nullptr), GetCurrentThreadId());
  EXPECT_EQ(GetParent(after), native(0, 0));
}

TEST_F(WorkerAccess, EditBoxContentCrossesThreadsBothWays) {
  std::string seen;
  on_worker([&] {
    auto* value =
        reinterpret_cast<char*>(static_cast<std::uintptr_t>(ui::read_unit_property(kWindow, kEdit, 8, -1)));
    seen = runtime::text_or_empty(value);
    runtime::release(value);
    ui::write_unit_property(kWindow, kEdit, 8, -1, reinterpret_cast<std::uintptr_t>("lyrics"));
  });
  EXPECT_EQ(seen, "typed");
  char now[32] = {};
  GetWindowTextA(native(0, 2), now, sizeof now);
  EXPECT_STREQ(now, "lyrics");
}

// The preview worker writes the album cover this way: the bytes are stored (readable back even
// when they are no picture) by the box on the window's thread.
TEST_F(WorkerAccess, APictureWrittenByAWorkerIsStoredByTheBox) {
  const std::uint8_t bytes[] = {7, 7, 7};
  std::vector<std::uint8_t> read_back;
  on_worker([&] {
    std::uint8_t* set = runtime::make_byte_set(bytes, sizeof bytes);
    ui::write_unit_property(kWindow, kPicture, kPictureProperty, -1, reinterpret_cast<std::uintptr_t>(set));
    runtime::release(set);
    auto* got = reinterpret_cast<void*>(
        static_cast<std::uintptr_t>(ui::read_unit_property(kWindow, kPicture, kPictureProperty, -1)));
    const auto view = runtime::byte_set_bytes(got);
    read_back.assign(view.begin(), view.end());
    runtime::release(got);
  });
  EXPECT_EQ(read_back, std::vector<std::uint8_t>(std::begin(bytes), std::end(bytes)));
}

}  // namespace
}  // namespace access_test
