// How the public entry points look up the window a caller names. Every entry goes through
// these, so a null, never-issued or destroyed handle fails the same way everywhere: the failure
// value, with ERROR_INVALID_WINDOW_HANDLE for GetLastError.
#pragma once

#include "platform/winsys/window_lookup.h"
#include "platform/winsys/wm_state.h"

namespace platform::winsys {

// The live window for `hwnd`, or nullptr with ERROR_INVALID_WINDOW_HANDLE set. Caller holds the lock.
WindowPtr checked_locked(HWND hwnd);

// The lock of the window system held together with the live window a call names. Tests false
// (with ERROR_INVALID_WINDOW_HANDLE set) when the handle names none.
class LockedWindow {
 public:
  explicit LockedWindow(HWND hwnd) : lock_(wm_mutex()), window_(checked_locked(hwnd)) {}

  explicit operator bool() const { return window_ != nullptr; }
  Window* operator->() const { return window_.get(); }
  Window& operator*() const { return *window_; }
  const WindowPtr& ptr() const { return window_; }
  // For the entries that send a message or call the backend after reading the window.
  Lock& lock() { return lock_; }

 private:
  Lock lock_;
  WindowPtr window_;
};

// Takes and releases the lock; nullptr with ERROR_INVALID_WINDOW_HANDLE set for a bad handle.
WindowPtr checked_window(HWND hwnd);
// IsWindow for an entry point that goes on without the lock: false sets the error as above.
bool valid_window(HWND hwnd);

}  // namespace platform::winsys
