#include "ui/access/property_kinds.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/heap.h"
#include "runtime/values.h"
#include "runtime/window_system.h"
#include "tests/support/runtime_values.h"
#include "tests/ui/property_test_support.h"
#include "ui/access/property_access.h"

namespace access_test {
namespace {

using test_support::take_bytes;
using test_support::take_text;


constexpr std::uint32_t kWindow = 0x52000030;
constexpr std::uint32_t kOwn = 0x06000030;
constexpr std::uint32_t kProbe = 0x16000031;

std::uint64_t pointer(const void* p) {
  return reinterpret_cast<std::uintptr_t>(p);
}

class PropertyKinds : public AccessTest {
 protected:
  void SetUp() override {
    AccessTest::SetUp();
    auto& window = templates_.add_window(kWindow, kOwn, window_block());
    templates_.add_unit(window, kProbe, kProbeType, {10, 10, 80, 20}, kVisible, probe_block("first"));
    start(kWindow);
  }
  void write(std::int32_t index, std::uint64_t value) {
    ui::write_unit_property(kWindow, kProbe, index, -1, value);
  }
  std::uint64_t read(std::int32_t index) { return ui::read_unit_property(kWindow, kProbe, index, -1); }
};

TEST_F(PropertyKinds, TextIsCopiedBothWaysAndEmptyPassesAnEmptyText) {
  EXPECT_EQ(take_text(read(probe::kText)), "first");
  std::string caller = "second";
  write(probe::kText, pointer(caller.c_str()));
  EXPECT_EQ(probe_log().last_text, "second");
  EXPECT_EQ(probe_log().last_pair.second, 6);
  EXPECT_EQ(take_text(read(probe::kText)), "second");

  write(probe::kText, 0);
  EXPECT_NE(probe_log().last_pair.first, 0);
  EXPECT_EQ(probe_log().last_text, "");
  EXPECT_EQ(read(probe::kText), 0u) << "an empty text reads as null";
}

TEST_F(PropertyKinds, LogicalChoiceAndLongValues) {
  ui::Unit* probe = unit(0, 1);
  probe_values(probe).logical = 2;
  EXPECT_EQ(read(probe::kLogical), 0u) << "only 1 reads as true";
  probe_values(probe).logical = 1;
  EXPECT_EQ(read(probe::kLogical), 1u);
  write(probe::kLogical, 0x500000000ull);
  EXPECT_EQ(probe_log().last_pair.first, 0) << "only the low word counts";
  write(probe::kLogical, 9);
  EXPECT_EQ(probe_log().last_pair.first, 1);

  write(probe::kChoice, static_cast<std::uint32_t>(-3));
  EXPECT_EQ(probe_log().last_pair.first, 0);
  write(probe::kChoice, 4);
  EXPECT_EQ(read(probe::kChoice), 4u);

  write(probe::kLong, 0x1122334455667788ull);
  EXPECT_EQ(probe_log().last_pair.first, 0x55667788);
  EXPECT_EQ(probe_log().last_pair.second, 0x11223344);
  EXPECT_EQ(read(probe::kLong), 0x1122334455667788ull);
}

TEST_F(PropertyKinds, DataIsCopiedAndEmptyIsTheNullPair) {
  const std::uint8_t bytes[] = {1, 2, 3};
  std::uint8_t* set = runtime::make_byte_set(bytes, sizeof bytes);
  write(probe::kData, pointer(set));
  runtime::release(set);
  EXPECT_EQ(probe_log().last_bytes, (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_EQ(take_bytes(read(probe::kData)), (std::vector<std::uint8_t>{1, 2, 3}));

  // A constant {1, 0} reads as empty, as a null one does.
  const std::uint32_t empty[2] = {1, 0};
  write(probe::kData, pointer(empty));
  EXPECT_EQ(probe_log().last_pair.first, 0);
  EXPECT_EQ(probe_log().last_pair.second, 0);
  EXPECT_EQ(read(probe::kData), 0u);
}

TEST_F(PropertyKinds, CursorDataMapsTheLeadingWordBetweenIndexAndSystemId) {
  const std::uint8_t hand[] = {14, 0, 0, 0, 0xAA};
  std::uint8_t* set = runtime::make_byte_set(hand, sizeof hand);
  write(probe::kCursorData, pointer(set));
  EXPECT_EQ(probe_log().last_bytes, (std::vector<std::uint8_t>{0x89, 0x7F, 0, 0, 0xAA}));  // 32649
  EXPECT_EQ(hand[0], 14) << "the caller's bytes are left alone";
  EXPECT_EQ(take_bytes(read(probe::kCursorData)),
            (std::vector<std::uint8_t>(std::begin(hand), std::end(hand))));
  runtime::release(set);

  // Fewer than four bytes, or a word outside the table, pass unchanged.
  EXPECT_EQ(ui::cursor_bytes_for_storing(std::vector<std::uint8_t>{3, 0, 0}),
            (std::vector<std::uint8_t>{3, 0, 0}));
  EXPECT_EQ(ui::cursor_bytes_for_storing(std::vector<std::uint8_t>{15, 0, 0, 0}),
            (std::vector<std::uint8_t>{15, 0, 0, 0}));
  EXPECT_EQ(ui::cursor_bytes_for_reading(std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 1}),
            (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 1}));
  for (std::uint32_t i = 0; i < 15; ++i) {
    std::vector<std::uint8_t> stored =
        ui::cursor_bytes_for_storing(std::vector<std::uint8_t>{static_cast<std::uint8_t>(i), 0, 0, 0});
    EXPECT_EQ(ui::cursor_bytes_for_reading(stored)[0], i);
  }
}

TEST_F(PropertyKinds, SetterAskingForRecreationBuildsTheUnitAgainWithEventsBlocked) {
  HWND before = native(0, 1);
  const int creates = probe_log().creates;
  write(probe::kStyle, 3);
  HWND after = native(0, 1);
  ASSERT_NE(after, nullptr);
  EXPECT_NE(after, before);
  EXPECT_FALSE(IsWindow(before));
  EXPECT_EQ(probe_log().creates, creates + 1);
  EXPECT_TRUE(probe_log().blocked_during_create);
  EXPECT_FALSE(runtime::events_blocked());
  EXPECT_EQ(take_text(read(probe::kText)), "first") << "the new unit is built from the old one's state";

  // The re-created probe starts with style 0 again: 0 is no change, nothing is rebuilt.
  write(probe::kStyle, 0);
  EXPECT_EQ(native(0, 1), after);
  EXPECT_EQ(probe_log().creates, creates + 1);
}

}  // namespace
}  // namespace access_test
