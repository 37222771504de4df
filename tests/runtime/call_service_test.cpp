#include "runtime/call_service.h"

#include <gtest/gtest.h>

#include "runtime/service_table.h"

namespace {

using namespace runtime;

struct Seen {
  ArgRecord result_before;
  std::int32_t count;
  ArgRecord* args;
};
Seen seen;

void recording_command(ArgRecord* result, std::int32_t count, ArgRecord* args) {
  seen = {*result, count, args};
  result->lo = 0x11111111;
  result->hi = 0x22222222;
}

void tagged_command(ArgRecord* result, std::int32_t count, ArgRecord* args) {
  // Reads only what the count covers; a missing optional argument has tag 0.
  std::uint32_t total = 0;
  for (std::int32_t i = 0; i < count; ++i) {
    if (args[i].tag != 0) total += args[i].lo;
  }
  result->lo = total;
  result->tag = tag::kInt;
}

TEST(CallServiceTest, ResultIsZeroedAndHandedBackWithItsTag) {
  ArgRecord args[2] = {{1, 0, tag::kInt}, {2, 0, tag::kInt}};
  const ServiceTable& services = service_table();
  ArgRecord r = services.call_core(recording_command, 2, args);
  EXPECT_EQ(seen.result_before.lo, 0u);
  EXPECT_EQ(seen.result_before.hi, 0u);
  EXPECT_EQ(seen.result_before.tag, 0u);
  EXPECT_EQ(seen.count, 2);
  EXPECT_EQ(seen.args, args);
  EXPECT_EQ(r.lo, 0x11111111u);
  EXPECT_EQ(r.hi, 0x22222222u);
  EXPECT_EQ(r.tag, 0u);  // the command left it 0: still handed back
}

TEST(CallServiceTest, LibrarySlotBehavesLikeTheCoreSlot) {
  ArgRecord args[3] = {{5, 0, tag::kInt}, {100, 0, tag::kNone}, {7, 0, tag::kInt}};
  ArgRecord core = service_table().call_core(tagged_command, 3, args);
  ArgRecord library = service_table().call_library(1, tagged_command, 3, args);
  EXPECT_EQ(core.lo, 12u);
  EXPECT_EQ(library.lo, 12u);
  EXPECT_EQ(library.tag, tag::kInt);
  // Fewer records than the command might take: it sees only the count.
  EXPECT_EQ(service_table().call_core(tagged_command, 1, args).lo, 5u);
}

TEST(CallServiceTest, NullRoutineAndNegativeCountAreHarmless) {
  ArgRecord r = call_command(0, nullptr, 3, nullptr);
  EXPECT_EQ(r.lo | r.hi | r.tag, 0u);
  call_command(0, recording_command, -4, nullptr);
  EXPECT_EQ(seen.count, 0);
}

}  // namespace
