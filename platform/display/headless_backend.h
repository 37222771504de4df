// The headless backend object; platform/winsys/headless.h is its public face to tests.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>

#include "platform/display/backend.h"
#include "platform/display/input_sink.h"

namespace platform::display {

// One queued piece of user input.
struct RawEvent {
  enum class Kind { move, button, wheel, key, text } kind = Kind::move;
  POINT pt{};
  MouseButton button = MouseButton::left;
  bool down = false;
  int delta = 0;
  UINT vk = 0;
  std::string text;
  DWORD time = 0;
};

class HeadlessBackend final : public Backend {
 public:
  HeadlessBackend();
  std::string_view name() const override { return "headless"; }
  // A 1280 x 800 logical screen at every scale.
  SIZE screen_size() const override;
  int scale() const override;
  void set_scale(int quarters);
  int bits_per_pixel() const override { return 32; }
  void window_shown(HWND) override {}
  void window_hidden(HWND) override {}
  void window_destroyed(HWND) override {}
  void window_moved(HWND, const RECT&) override {}
  void window_title(HWND, std::string_view) override {}
  void window_activated(HWND) override {}
  void invalidate(HWND, const RECT&) override {}
  void set_cursor(HCURSOR cursor) override;
  void set_capture(bool) override {}
  void set_cursor_pos(POINT) override {}
  bool set_clipboard_text(std::string_view utf8) override;
  std::string clipboard_text() override;
  bool pump() override;
  void wait(int timeout_ms) override;
  void wake() override;

  void inject(RawEvent event);
  DWORD now() const;
  void advance_clock(DWORD ms);
  HCURSOR shown_cursor();

 private:
  mutable std::mutex mutex_;
  std::condition_variable cv_;
  bool woken_ = false;
  std::deque<RawEvent> events_;
  std::string clipboard_;
  HCURSOR cursor_ = nullptr;
  DWORD clock_offset_ = 0;
  std::atomic<int> scale_{4};
};

// The headless backend when it is the process's backend, else nullptr.
HeadlessBackend* headless_backend();

}  // namespace platform::display
