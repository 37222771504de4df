// Drives a message box from inside its own loop: each step runs from a timer of a hidden
// helper window, so it runs while MessageBoxA waits, after the input of the previous step.
#pragma once

#include <functional>
#include <vector>

#include "platform/api.h"

namespace controls_test {

class BoxDriver {
 public:
  using Step = std::function<void(HWND box)>;

  explicit BoxDriver(std::vector<Step> steps) : steps_(std::move(steps)) {
    static const bool registered = [] {
      WNDCLASSA wc{};
      wc.lpfnWndProc = driver_proc;
      wc.lpszClassName = "ControlsBoxDriver";
      return RegisterClassA(&wc) != 0;
    }();
    (void)registered;
    hwnd_ =
        CreateWindowExA(0, "ControlsBoxDriver", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    current() = this;
    SetTimer(hwnd_, 1, 20, nullptr);
  }
  ~BoxDriver() {
    current() = nullptr;
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
  }
  BoxDriver(const BoxDriver&) = delete;
  BoxDriver& operator=(const BoxDriver&) = delete;

  std::size_t steps_run() const { return next_; }
  HWND seen_box() const { return box_; }

 private:
  static BoxDriver*& current() {
    static BoxDriver* driver = nullptr;
    return driver;
  }

  // The message box of this thread: the top-level window of the box class.
  static HWND find_box() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM out) -> BOOL {
          char name[32] = {};
          GetClassNameA(w, name, sizeof name);
          if (std::string_view(name) == "#32770" && IsWindowVisible(w)) {
            *reinterpret_cast<HWND*>(out) = w;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
  }

  static LRESULT CALLBACK driver_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    BoxDriver* d = current();
    if (msg == WM_TIMER && d && d->hwnd_ == hwnd) {
      HWND box = find_box();
      if (!box) return 0;  // not up yet
      d->box_ = box;
      if (d->next_ < d->steps_.size()) {
        Step step = d->steps_[d->next_++];
        step(box);
      } else {
        KillTimer(hwnd, 1);
      }
      return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
  }

  std::vector<Step> steps_;
  std::size_t next_ = 0;
  HWND hwnd_ = nullptr;
  HWND box_ = nullptr;
};

}  // namespace controls_test
