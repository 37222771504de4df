// GifPlayer: plays a decoded GIF animation on a thread of its own, for ever, until stopped.
// Contract: start() launches the thread (once); every frame is composed onto the logical
// screen (GifComposer: disposal, transparency, clipping) and handed to the draw callback
// with paint_mutex() held, so a paint handler that holds the same mutex never runs at the
// same time as a frame being drawn. A frame's delay (0 plays as 50 ms) counts on the process
// clock (platform/kernel/clock.h) from the moment the frame begins, so a stopped test clock
// holds the animation until it is advanced; after the last frame it starts again from the
// first. stop() ends the wait at once, joins the thread and leaves the player stopped; the
// destructor stops it too. stop() called from the draw callback only requests the stop (the
// thread ends after that frame). canvas() may be read only while holding paint_mutex(): it is
// the frame last drawn. Never call stop() while holding paint_mutex(): the thread may be
// waiting for it.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/kernel/clock.h"
#include "ui/picture/codecs/gif_composer.h"
#include "ui/picture/codecs/gif_reader.h"

namespace lyr::picture {

class GifPlayer {
 public:
  enum class State { idle, running, stop_requested, stopped };
  // canvas: width x height B,G,R,A pixels, top-down.
  using DrawFrame = std::function<void(const std::vector<std::uint8_t>& canvas, int width, int height)>;

  GifPlayer(std::shared_ptr<const GifAnimation> animation, std::uint32_t background_bgra, DrawFrame draw);
  ~GifPlayer();
  GifPlayer(const GifPlayer&) = delete;
  GifPlayer& operator=(const GifPlayer&) = delete;

  void start();
  void stop();
  State state() const;
  std::mutex& paint_mutex() { return paint_mutex_; }
  const std::vector<std::uint8_t>& canvas() const { return composer_.canvas(); }
  // Frames drawn so far (all passes together). A frame is counted before it is handed to the
  // draw callback, so a reader that sees a frame's pixels also sees it counted.
  std::uint64_t frames_drawn() const { return frames_drawn_.load(); }

 private:
  void run();
  // Waits until the clock reaches `until`; false when a stop was requested.
  bool wait(platform::clock::Millis until);

  std::shared_ptr<const GifAnimation> animation_;
  GifComposer composer_;
  DrawFrame draw_;
  std::mutex paint_mutex_;
  mutable std::mutex state_mutex_;
  std::condition_variable wake_;
  // An advanced test clock may end the wait; declared after what it wakes.
  platform::clock::AdvanceWatch clock_watch_{[this] {
    std::lock_guard lock(state_mutex_);
    wake_.notify_all();
  }};
  std::mutex join_mutex_;
  State state_ = State::idle;
  std::atomic<std::uint64_t> frames_drawn_{0};
  std::thread thread_;
};

}  // namespace lyr::picture
