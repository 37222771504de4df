#include "platform/winsys/window_lookup.h"

#include "platform/api/kernel.h"

namespace platform::winsys {

WindowPtr checked_locked(HWND hwnd) {
  WindowPtr w = find_locked(hwnd);
  if (!w) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return w;
}

WindowPtr checked_window(HWND hwnd) {
  Lock lock(wm_mutex());
  return checked_locked(hwnd);
}

bool valid_window(HWND hwnd) {
  return checked_window(hwnd) != nullptr;
}

}  // namespace platform::winsys
