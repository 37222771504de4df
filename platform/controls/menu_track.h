// The modal menu loop shared by TrackPopupMenu and the menu bar: it opens pop-up windows,
// follows the mouse and the keyboard, and ends when an item is chosen or the menu is dismissed.
#pragma once

#include "platform/api.h"

namespace platform::controls::menu {

struct TrackRequest {
  HWND owner = nullptr;
  UINT flags = 0;         // TPM_*
  HMENU popup = nullptr;  // TrackPopupMenu: the menu shown at `at`
  HMENU bar = nullptr;    // menu bar mode: the owner's bar
  bool keyboard = false;  // bar opened by the menu key: first item highlighted, nothing open
  POINT at{};             // popup: requested point; bar: the click (screen)
};

struct TrackResult {
  bool ran = false;  // false: refused (another menu is tracking on this thread, bad input)
  UINT command = 0;  // 0: dismissed
};

// Runs on the owner's thread until the menu closes. Without TPM_RETURNCMD a chosen command is
// posted to the owner (WM_SYSCOMMAND for system menu items).
TrackResult track(const TrackRequest& request);
// Ends the calling thread's menu loop, as if dismissed; false when none runs.
bool end_tracking();

}  // namespace platform::controls::menu
