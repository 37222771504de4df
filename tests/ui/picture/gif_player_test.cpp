#include "ui/picture/gif_player.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <iterator>
#include <thread>

#include "platform/kernel/clock.h"
#include "tests/support/manual_clock.h"
#include "tests/ui/picture/picture_encoders.h"

namespace lyr::picture {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

std::shared_ptr<const GifAnimation> two_frames(int delay_a, int delay_b) {
  test::GifLayout layout;
  layout.width = 2, layout.height = 1;
  layout.global_palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  test::GifFrameLayout a;
  a.width = 2, a.height = 1, a.indices = {1, 1}, a.delay_cs = delay_a;
  test::GifFrameLayout b = a;
  b.indices = {2, 2}, b.delay_cs = delay_b;
  layout.frames = {a, b};
  auto gif = decode_gif(test::write_gif(layout), default_limits(), 10);
  if (!gif.ok()) throw std::runtime_error(gif.error());
  return std::make_shared<const GifAnimation>(std::move(gif).value());
}

// What the draw callback saw, for a test that waits for the player.
struct Drawn {
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<std::uint8_t> red_channel;  // of pixel 0, per frame drawn
  std::vector<platform::clock::Millis> when;

  void add(std::uint8_t red) {
    std::lock_guard lock(mutex);
    red_channel.push_back(red);
    when.push_back(platform::clock::now());
    changed.notify_all();
  }
  bool wait_for_frames(std::size_t n) {
    std::unique_lock lock(mutex);
    return changed.wait_for(lock, 20s, [&] { return when.size() >= n; });
  }
};

// Each frame stays for its own delay, 0 playing as 50 ms, counted on the process clock; after
// the last frame the first comes again.
TEST(GifPlayer, EachFrameStaysForItsDelayAndTheAnimationLoops) {
  lyr::test::ManualClock clock;
  if (!clock.active()) GTEST_SKIP() << "needs LYRICS_DISPLAY=headless";
  Drawn drawn;
  GifPlayer player(two_frames(0, 7), 0xFF000000, [&](const std::vector<std::uint8_t>& canvas, int w, int h) {
    EXPECT_EQ(w, 2);
    EXPECT_EQ(h, 1);
    drawn.add(canvas[2]);
  });
  player.start();
  ASSERT_TRUE(drawn.wait_for_frames(1));
  const platform::clock::Millis gaps[] = {50, 70, 50, 70};
  for (std::size_t i = 0; i < std::size(gaps); ++i) {
    clock.advance(static_cast<DWORD>(gaps[i] - 1));
    clock.advance(1);
    ASSERT_TRUE(drawn.wait_for_frames(i + 2)) << i;
  }
  player.stop();
  EXPECT_EQ(player.state(), GifPlayer::State::stopped);
  std::lock_guard lock(drawn.mutex);
  ASSERT_EQ(drawn.when.size(), std::size(gaps) + 1);
  for (std::size_t i = 0; i < drawn.red_channel.size(); ++i)
    EXPECT_EQ(drawn.red_channel[i], i % 2 == 0 ? 255 : 0) << i;  // red, green, red, ...
  // Not a millisecond early: one less than the delay never brings the next frame.
  for (std::size_t i = 0; i < std::size(gaps); ++i)
    EXPECT_EQ(drawn.when[i + 1] - drawn.when[i], gaps[i]) << i;
}

TEST(GifPlayer, StopEndsALongDelayAtOnce) {
  GifPlayer player(two_frames(65535, 65535), 0, [](const std::vector<std::uint8_t>&, int, int) {});
  player.start();
  while (player.frames_drawn() < 1) std::this_thread::sleep_for(1ms);
  const auto start = Clock::now();
  player.stop();
  EXPECT_LT(Clock::now() - start, 10s);  // against a 655-second delay
  EXPECT_EQ(player.frames_drawn(), 1u);
  player.stop();  // a second stop is harmless
  EXPECT_EQ(player.state(), GifPlayer::State::stopped);
}

TEST(GifPlayer, NoFrameIsDrawnWhilePaintingHoldsTheMutex) {
  std::atomic<bool> drawing{false};
  std::atomic<bool> overlap{false};
  GifPlayer player(two_frames(1, 1), 0, [&](const std::vector<std::uint8_t>&, int, int) {
    drawing = true;
    std::this_thread::sleep_for(2ms);
    drawing = false;
  });
  player.start();
  for (int i = 0; i < 50; ++i) {
    {
      std::lock_guard paint(player.paint_mutex());
      if (drawing) overlap = true;
      const auto before = player.frames_drawn();
      std::this_thread::sleep_for(3ms);
      if (player.frames_drawn() != before) overlap = true;
    }
    std::this_thread::sleep_for(2ms);  // let the player have its turn
  }
  for (auto until = Clock::now() + 10s; player.frames_drawn() == 0 && Clock::now() < until;)
    std::this_thread::sleep_for(1ms);
  player.stop();
  EXPECT_FALSE(overlap);
  EXPECT_GT(player.frames_drawn(), 0u);
}

TEST(GifPlayer, AFrameIsCountedNoLaterThanItIsShown) {
  // The "screen" is pixel 0's red channel; -1 before the first frame. The callback lingers
  // after showing a frame, as a real one does while it releases its DC.
  std::atomic<int> screen{-1};
  GifPlayer player(two_frames(1, 1), 0, [&](const std::vector<std::uint8_t>& canvas, int, int) {
    screen = canvas[2];
    std::this_thread::sleep_for(2ms);
  });
  player.start();
  int last = -1;
  std::uint64_t frames_seen = 0;  // frames alternate red and green, so every change is a frame
  for (auto until = Clock::now() + 10s; frames_seen < 20 && Clock::now() < until;) {
    const int shown = screen;
    if (shown != last) ++frames_seen, last = shown;
    ASSERT_GE(player.frames_drawn(), frames_seen);
    std::this_thread::yield();
  }
  player.stop();
  EXPECT_GE(frames_seen, 20u);
}

TEST(GifPlayer, StopFromTheDrawCallbackAndDestructionWhileRunning) {
  std::unique_ptr<GifPlayer> player;
  player = std::make_unique<GifPlayer>(two_frames(0, 0), 0,
                                       [&](const std::vector<std::uint8_t>&, int, int) { player->stop(); });
  player->start();
  while (player->state() == GifPlayer::State::running) std::this_thread::sleep_for(1ms);
  player.reset();  // joins the finished thread
  GifPlayer running(two_frames(0, 0), 0, [](const std::vector<std::uint8_t>&, int, int) {});
  running.start();
  // Leaving the scope stops and joins it.
}

TEST(GifPlayer, StopsFromSeveralThreadsAtOnce) {
  GifPlayer player(two_frames(0, 0), 0, [](const std::vector<std::uint8_t>&, int, int) {});
  player.start();
  std::thread a([&] { player.stop(); });
  std::thread b([&] { player.stop(); });
  a.join();
  b.join();
  EXPECT_EQ(player.state(), GifPlayer::State::stopped);
}

TEST(GifPlayer, StoppedBeforeStartNeverRuns) {
  int calls = 0;
  GifPlayer player(two_frames(0, 0), 0, [&](const std::vector<std::uint8_t>&, int, int) { ++calls; });
  player.stop();
  player.start();
  EXPECT_EQ(player.state(), GifPlayer::State::stopped);
  EXPECT_EQ(calls, 0);
}

}  // namespace
}  // namespace lyr::picture
