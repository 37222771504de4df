// The link a support library keeps to the runtime: calls reach the callback that was attached,
// with their arguments, and a call before any was attached ends the process naming its code.
#include "runtime/abi/runtime_link.h"

#include <gtest/gtest.h>

namespace {

// Each answer depends on all three words, so a call that lost or swapped one answers wrongly.
std::intptr_t mixing(std::int32_t code, std::intptr_t arg1, std::intptr_t arg2) {
  return code * 1000003 + arg1 * 31 + arg2;
}
std::intptr_t negating(std::int32_t code, std::intptr_t, std::intptr_t) {
  return -code;
}

TEST(RuntimeLink, CallsReachTheAttachedCallbackWithTheirArguments) {
  runtime::RuntimeLink link;
  EXPECT_EQ(link.callback(), nullptr);
  link.attach(&mixing);
  EXPECT_EQ(link.callback(), &mixing);
  struct Call {
    std::int32_t code;
    std::intptr_t arg1;
    std::intptr_t arg2;
  };
  for (const Call& c : {Call{2024, 16, 0}, Call{2007, 0x52010001, 0x26010080}, Call{2003, 0, 0},
                        Call{1002, 0x00020004, -1}}) {
    EXPECT_EQ(link.call(c.code, c.arg1, c.arg2), mixing(c.code, c.arg1, c.arg2)) << c.code;
  }
  EXPECT_EQ(link.call(2018), mixing(2018, 0, 0)) << "omitted arguments are 0";

  link.attach(&negating);
  EXPECT_EQ(link.call(2025, 1, 2), -2025) << "a later attach replaces the callback";
  link.attach(nullptr);
  EXPECT_EQ(link.callback(), nullptr);
}

TEST(RuntimeLinkDeathTest, ACallWithoutACallbackEndsTheProcessNamingTheCode) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  runtime::RuntimeLink link;
  EXPECT_DEATH(link.call(2024, 16, 0), "runtime callback 2024 called before start-up");
  link.attach(&negating);
  link.attach(nullptr);
  EXPECT_DEATH(link.call(2001), "runtime callback 2001 called before start-up") << "detached again";
}

}  // namespace
