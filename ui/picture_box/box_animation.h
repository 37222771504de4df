// BoxAnimation: a GIF animation playing in a picture box window.
// Contract: start() launches the player's thread, which draws every frame straight into the
// window (GetDC) placed by the display mode given at construction; the mode and background
// never change for one BoxAnimation: the box makes a new one instead. paint() is the box's
// whole paint while animating (background, then the frame last drawn) and holds the player's
// paint lock, so it waits for a frame in progress and no frame is drawn during it. The
// destructor stops the player and joins its thread before the window may go: destroy it on
// the window's own thread, never from inside a frame.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/api/types.h"
#include "ui/picture/codecs/gif_reader.h"
#include "ui/picture/gif_player.h"

namespace ui {

class BoxAnimation {
 public:
  BoxAnimation(HWND box, std::shared_ptr<const lyr::picture::GifAnimation> animation, COLORREF background,
               int mode);
  ~BoxAnimation();
  BoxAnimation(const BoxAnimation&) = delete;
  BoxAnimation& operator=(const BoxAnimation&) = delete;

  void start() { player_.start(); }
  void paint(HDC dc, int client_width, int client_height);
  std::uint64_t frames_drawn() const { return player_.frames_drawn(); }
  bool running() const { return player_.state() == lyr::picture::GifPlayer::State::running; }

 private:
  void draw_frame(const std::vector<std::uint8_t>& canvas, int width, int height);

  HWND box_;
  COLORREF background_;
  int mode_;
  int canvas_width_;
  int canvas_height_;
  lyr::picture::GifPlayer player_;  // last: its thread uses the members above
};

}  // namespace ui
