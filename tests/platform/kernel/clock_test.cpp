// The process clock: stopped, moved on and let run again, it never goes back, GetTickCount
// reads it, and every watch hears of each change.
#include "platform/kernel/clock.h"

#include <gtest/gtest.h>

#include "platform/api/kernel.h"

namespace {

namespace clk = platform::clock;

TEST(ProcessClock, StopsMovesOnlyWhenAdvancedAndRunsOnWithoutGoingBack) {
  int changes = 0;
  const clk::AdvanceWatch watch([&] { ++changes; });
  EXPECT_FALSE(clk::advance(10)) << "a running clock is not moved by hand";
  clk::set_manual(true);
  const clk::Millis stopped = clk::now();
  EXPECT_TRUE(clk::read().manual);
  Sleep(20);
  EXPECT_EQ(clk::now(), stopped) << "it stands while real time passes";
  EXPECT_TRUE(clk::advance(250));
  EXPECT_EQ(clk::now(), stopped + 250);
  EXPECT_EQ(GetTickCount(), static_cast<DWORD>(stopped + 250));
  clk::set_manual(true);  // no change, no call
  clk::set_manual(false);
  EXPECT_FALSE(clk::read().manual);
  EXPECT_GE(clk::now(), stopped + 250) << "it runs on from where it stood";
  EXPECT_EQ(changes, 3);
}

}  // namespace
