#include "platform/display/headless_backend.h"

#include <chrono>

#include "platform/display/input_sink.h"
#include "platform/gdi/device_scale.h"

namespace platform::display {

HeadlessBackend::HeadlessBackend() = default;

void HeadlessBackend::set_cursor(HCURSOR cursor) {
  std::lock_guard lock(mutex_);
  cursor_ = cursor;
}

HCURSOR HeadlessBackend::shown_cursor() {
  std::lock_guard lock(mutex_);
  return cursor_;
}

bool HeadlessBackend::set_clipboard_text(std::string_view utf8) {
  std::lock_guard lock(mutex_);
  clipboard_ = utf8;
  return true;
}

std::string HeadlessBackend::clipboard_text() {
  std::lock_guard lock(mutex_);
  return clipboard_;
}

bool HeadlessBackend::pump() {
  RawEvent e;
  {
    std::lock_guard lock(mutex_);
    if (events_.empty()) return false;
    e = std::move(events_.front());
    events_.pop_front();
  }
  InputSink sink = input_sink();
  switch (e.kind) {
    case RawEvent::Kind::move:
      sink.mouse_move(e.pt, e.time);
      break;
    case RawEvent::Kind::button:
      sink.mouse_button(e.button, e.down, e.pt, e.time);
      break;
    case RawEvent::Kind::wheel:
      sink.mouse_wheel(e.delta, e.pt, e.time);
      break;
    case RawEvent::Kind::key:
      sink.key(e.vk, e.down, e.time, false);
      break;
    case RawEvent::Kind::text:
      sink.text(e.text, e.time);
      break;
  }
  return true;
}

void HeadlessBackend::wait(int timeout_ms) {
  std::unique_lock lock(mutex_);
  auto ready = [&] { return woken_ || !events_.empty(); };
  if (timeout_ms < 0)
    cv_.wait(lock, ready);
  else
    cv_.wait_for(lock, std::chrono::milliseconds(timeout_ms), ready);
  woken_ = false;
}

void HeadlessBackend::wake() {
  std::lock_guard lock(mutex_);
  woken_ = true;
  cv_.notify_all();
}

SIZE HeadlessBackend::screen_size() const {
  const int q = scale_.load();
  return SIZE{static_cast<LONG>(gdi::to_device(1280, q)), static_cast<LONG>(gdi::to_device(800, q))};
}

int HeadlessBackend::scale() const {
  return scale_.load();
}

void HeadlessBackend::set_scale(int quarters) {
  scale_ = quarters;
}

void HeadlessBackend::inject(RawEvent event) {
  std::lock_guard lock(mutex_);
  event.time = input_sink().clock() + clock_offset_;
  events_.push_back(std::move(event));
  cv_.notify_all();
}

DWORD HeadlessBackend::now() const {
  std::lock_guard lock(mutex_);
  return input_sink().clock() + clock_offset_;
}

void HeadlessBackend::advance_clock(DWORD ms) {
  std::lock_guard lock(mutex_);
  clock_offset_ += ms;
}

}  // namespace platform::display
