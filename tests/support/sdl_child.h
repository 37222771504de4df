// Tests that check the SDL display on a real X server: the backend is chosen once per process,
// so the test starts a private Xvfb server and runs its checks in a child copy of the test
// program with LYRICS_DISPLAY=sdl, skipped when the tools it needs are not installed.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "tests/support/xvfb_session.h"

namespace test_support {

// Runs this program's tests `filter` as such a child, with `child_variable`=1 set for it; the
// test fails unless the child passes.
inline void expect_sdl_child_passes(const std::string& filter, const std::string& child_variable,
                                    std::initializer_list<const char*> tools = {"Xvfb", "xdotool"}) {
  for (const char* tool : tools) {
    if (!on_path(tool)) GTEST_SKIP() << tool << " is not installed; the SDL display is not exercised here";
  }
  Xvfb server;
  ASSERT_FALSE(server.display().empty()) << "Xvfb did not report a display number";
  const auto code = run_self_on_sdl(server.display(), filter, {child_variable + "=1"});
  ASSERT_TRUE(code.has_value()) << "the SDL child did not start or did not finish in time";
  EXPECT_EQ(*code, 0) << "the SDL child failed; its output is above";
}

}  // namespace test_support
