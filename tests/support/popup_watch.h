// Answers the pop-up menus a test opens on the headless display, so that no test hangs in a
// menu loop: while a PopupWatch lives, every menu window created on this thread is counted, its
// corner noted, and then either clicked at a point of its own (choosing the item there) or
// dismissed with Esc.
#pragma once

#include <optional>
#include <vector>

#include "platform/api/types.h"

namespace test_support {

class PopupWatch {
 public:
  PopupWatch();
  ~PopupWatch();
  PopupWatch(const PopupWatch&) = delete;
  PopupWatch& operator=(const PopupWatch&) = delete;

  // A point in menu coordinates to click in each menu, or nothing to only dismiss it.
  std::optional<POINT> click_at = POINT{8, 8};
  int opened = 0;
  std::vector<POINT> corners;  // screen position of each menu window, in opening order

 private:
  HHOOK hook_ = nullptr;
};

}  // namespace test_support
