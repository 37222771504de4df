// Placeholder until the display backends land: a backend with no screen that ignores everything.
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "platform/display/backend.h"

namespace platform::display {
namespace {

class NullBackend final : public Backend {
 public:
  std::string_view name() const override { return "headless"; }
  SIZE screen_size() const override { return {1280, 800}; }
  int bits_per_pixel() const override { return 32; }
  void window_shown(HWND) override {}
  void window_hidden(HWND) override {}
  void window_destroyed(HWND) override {}
  void window_moved(HWND, const RECT&) override {}
  void window_title(HWND, std::string_view) override {}
  void window_activated(HWND) override {}
  void invalidate(HWND, const RECT&) override {}
  void set_cursor(HCURSOR) override {}
  void set_capture(bool) override {}
  void set_cursor_pos(POINT) override {}
  bool set_clipboard_text(std::string_view) override { return false; }
  std::string clipboard_text() override { return {}; }
  bool pump() override { return false; }
  void wait(int timeout_ms) override {
    std::unique_lock lock(mutex_);
    auto pred = [&] { return woken_; };
    if (timeout_ms < 0)
      cv_.wait(lock, pred);
    else
      cv_.wait_for(lock, std::chrono::milliseconds(timeout_ms), pred);
    woken_ = false;
  }
  void wake() override {
    std::lock_guard lock(mutex_);
    woken_ = true;
    cv_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  bool woken_ = false;
};

}  // namespace

Backend& backend() {
  static NullBackend instance;
  return instance;
}

}  // namespace platform::display
