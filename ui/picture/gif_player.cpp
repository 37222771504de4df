#include "ui/picture/gif_player.h"

namespace lyr::picture {

GifPlayer::GifPlayer(std::shared_ptr<const GifAnimation> animation, std::uint32_t background_bgra,
                     DrawFrame draw)
    : animation_(std::move(animation)), composer_(*animation_, background_bgra), draw_(std::move(draw)) {}

GifPlayer::~GifPlayer() {
  stop();
}

void GifPlayer::start() {
  std::lock_guard lock(state_mutex_);
  if (state_ != State::idle || animation_->frames.empty()) return;
  state_ = State::running;
  thread_ = std::thread([this] { run(); });
}

void GifPlayer::stop() {
  {
    std::lock_guard lock(state_mutex_);
    if (state_ == State::idle) {
      state_ = State::stopped;
      return;
    }
    if (state_ == State::running) state_ = State::stop_requested;
  }
  wake_.notify_all();
  // The player's own thread cannot wait for itself: it ends after the frame in progress.
  std::lock_guard join(join_mutex_);  // two stops at once join the thread once
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) {
    thread_.join();
    std::lock_guard lock(state_mutex_);
    state_ = State::stopped;
  }
}

GifPlayer::State GifPlayer::state() const {
  std::lock_guard lock(state_mutex_);
  return state_;
}

bool GifPlayer::wait(platform::clock::Millis until) {
  std::unique_lock lock(state_mutex_);
  return !platform::clock::wait_until(lock, wake_, until, [this] { return state_ != State::running; });
}

void GifPlayer::run() {
  const auto& frames = animation_->frames;
  for (std::size_t i = 0;; i = (i + 1) % frames.size()) {
    const platform::clock::Millis begun = platform::clock::now();
    {
      std::lock_guard paint(paint_mutex_);
      if (state() != State::running) break;
      const auto& canvas = composer_.draw(i);
      // Counted before the callback shows it: whoever sees a frame's pixels sees its count.
      frames_drawn_.fetch_add(1);
      draw_(canvas, composer_.width(), composer_.height());
    }
    if (!wait(begun + static_cast<platform::clock::Millis>(gif_frame_delay_ms(frames[i])))) break;
  }
}

}  // namespace lyr::picture
