// The base of tests that drive the headless display: skipped on any other display, with fresh
// input state before each test and the queue drained after it. A fixture's own SetUp calls
// HeadlessTest::SetUp() first and returns when IsSkipped().
#pragma once

#include <gtest/gtest.h>

#include "platform/winsys/headless.h"

namespace lyr::test {

class HeadlessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!platform::headless::active()) GTEST_SKIP() << "needs LYRICS_DISPLAY=headless";
    platform::headless::reset_input();
  }
  void TearDown() override { platform::headless::run_until_idle(); }
};

}  // namespace lyr::test
