// Shared set-up for the window-system tests: a logging window class, a clean log, and windows
// destroyed at the end of each test.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "platform/api.h"
#include "tests/support/message_log.h"

namespace lyr::test {

class WinsysTest : public ::testing::Test {
 protected:
  void SetUp() override {
    register_logging_class();
    log().set_override(nullptr);
    log().watch_only({});
    log().set_parent(nullptr);
    pump_messages();
    log().clear();
  }
  void TearDown() override {
    log().set_override(nullptr);
    for (auto it = made_.rbegin(); it != made_.rend(); ++it)
      if (IsWindow(*it)) DestroyWindow(*it);
    pump_messages();
    log().clear();
  }
  HWND make(DWORD style, int x, int y, int w, int h, HWND parent = nullptr, DWORD ex_style = 0,
            const char* title = "test") {
    HWND hwnd =
        CreateWindowExA(ex_style, "LogWindow", title, style, x, y, w, h, parent, nullptr, nullptr, nullptr);
    if (hwnd) made_.push_back(hwnd);
    return hwnd;
  }

  std::vector<HWND> made_;
};

}  // namespace lyr::test
