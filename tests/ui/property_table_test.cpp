// The shared property table: descriptors from the rows, and the getter and setter over a set.
#include "ui/units/property_table.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace {

struct Sample {
  std::int32_t choice = 0;
  std::uint32_t colour = 0;
  bool flag = false;
  std::string text;
  std::vector<std::uint8_t> data;
};

constexpr std::array<ui::PropertyRow<Sample>, 5> kTable{{
    {0, &Sample::choice, ui::kind::kChoice},
    {1, &Sample::colour, ui::kind::kColour},
    {2, &Sample::flag, ui::kind::kLogical},
    {3, &Sample::text, ui::kind::kText},
    {4, &Sample::data, ui::kind::kPicture, true},
}};

TEST(PropertyTable, DescriptorsAreTheCommonEightThenTheRowsKinds) {
  constexpr auto all = ui::descriptors(kTable);
  static_assert(all.size() == 13);
  EXPECT_EQ(all[0].flags, ui::kCommonPropertyFlags);
  EXPECT_EQ(all[7].kind, ui::kind::kCursor);
  const std::uint16_t own[] = {ui::kind::kChoice, ui::kind::kColour, ui::kind::kLogical, ui::kind::kText,
                               ui::kind::kPicture};
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(all[8 + i].kind, own[i]) << i;
    EXPECT_EQ(all[8 + i].flags, 0) << i;
  }
}

TEST(PropertyTable, WritesAreStoredAsCopiesAndReadBack) {
  Sample set;
  ASSERT_NE(ui::set_property(kTable, set, 0, ui::int_pair(-7)), nullptr);
  ASSERT_NE(ui::set_property(kTable, set, 1, ui::int_pair(static_cast<std::int32_t>(0xFF000000u))), nullptr);
  ASSERT_NE(ui::set_property(kTable, set, 2, ui::int_pair(5)), nullptr);
  std::string caller_text = "caption";
  ASSERT_NE(ui::set_property(kTable, set, 3, ui::data_pair(caller_text.c_str(), caller_text.size())),
            nullptr);
  std::vector<std::uint8_t> caller_bytes{1, 2, 3};
  const auto* picture =
      ui::set_property(kTable, set, 4, ui::data_pair(caller_bytes.data(), caller_bytes.size()));
  ASSERT_NE(picture, nullptr);
  EXPECT_TRUE(picture->recreates);
  caller_text = "changed";
  caller_bytes.assign({9, 9, 9});

  EXPECT_EQ(set.choice, -7);
  EXPECT_EQ(set.colour, 0xFF000000u);
  EXPECT_TRUE(set.flag);  // any non-zero value
  EXPECT_EQ(set.text, "caption");
  EXPECT_EQ(set.data, (std::vector<std::uint8_t>{1, 2, 3}));

  ui::PropertyPair out;
  ASSERT_TRUE(ui::get_property(kTable, set, 1, &out));
  EXPECT_EQ(static_cast<std::uint32_t>(ui::pair_int(out)), 0xFF000000u);
  ASSERT_TRUE(ui::get_property(kTable, set, 2, &out));
  EXPECT_EQ(ui::pair_int(out), 1);
  ASSERT_TRUE(ui::get_property(kTable, set, 3, &out));
  EXPECT_EQ(ui::pair_text(out), "caption");
  EXPECT_EQ(out.second, 7);
  ASSERT_TRUE(ui::get_property(kTable, set, 4, &out));
  EXPECT_EQ(ui::pair_bytes(out).size(), 3u);
}

TEST(PropertyTable, IndexesOutsideTheTableLeaveTheSetAlone) {
  Sample set;
  set.text = "kept";
  ui::PropertyPair out{11, 12};
  for (std::int32_t own : {-1, 5, 1000}) {
    EXPECT_EQ(ui::set_property(kTable, set, own, ui::int_pair(3)), nullptr) << own;
    EXPECT_FALSE(ui::get_property(kTable, set, own, &out)) << own;
  }
  EXPECT_EQ(set.text, "kept");
  EXPECT_EQ(out.first, 11);
  // An empty byte field reads as the empty pair.
  ASSERT_TRUE(ui::get_property(kTable, set, 4, &out));
  EXPECT_EQ(out.first, 0);
  EXPECT_EQ(out.second, 0);
}

}  // namespace

namespace {

TEST(PropertyTable, RowsWithoutAFieldAreLeftToTheUnit) {
  constexpr std::array<ui::PropertyRow<Sample>, 2> table{{
      {0, &Sample::choice, ui::kind::kChoice},
      {1, {}, ui::kind::kText},
  }};
  Sample set;
  ui::PropertyPair out{11, 12};
  EXPECT_FALSE(ui::get_property(table, set, 1, &out));
  EXPECT_EQ(out.first, 11);
  const auto* row = ui::set_property(table, set, 1, ui::int_pair(3));
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row->own_index, 1);
  EXPECT_EQ(set.choice, 0);
}

}  // namespace

namespace {

constexpr bool flag_set(const Sample& s) {
  return s.flag;
}

TEST(PropertyTable, ARecreatingRowWithAConditionAsksOnlyWhileItHolds) {
  constexpr std::array<ui::PropertyRow<Sample>, 3> table{{
      {0, &Sample::choice, ui::kind::kChoice, true, 0, &flag_set},
      {1, &Sample::colour, ui::kind::kColour, true},
      {2, &Sample::flag, ui::kind::kLogical, false, 0, &flag_set},
  }};
  Sample set;
  EXPECT_FALSE(ui::write_recreates(*ui::set_property(table, set, 0, ui::int_pair(4)), set));
  EXPECT_TRUE(ui::write_recreates(*ui::set_property(table, set, 1, ui::int_pair(4)), set));
  // The condition is read after the write: turning the flag on does not re-create by itself.
  EXPECT_FALSE(ui::write_recreates(*ui::set_property(table, set, 2, ui::int_pair(1)), set));
  EXPECT_TRUE(ui::write_recreates(*ui::set_property(table, set, 0, ui::int_pair(5)), set));
  EXPECT_EQ(set.choice, 5);
}

}  // namespace
