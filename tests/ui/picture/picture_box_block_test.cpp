// The picture box's property data block, its type descriptor and its operations' bookkeeping:
// what is stored comes back, and blocks that cannot be read make no unit.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/ui/picture/picture_box_fixture.h"
#include "ui/units/property_descriptors.h"

namespace picture_box_test {
namespace {

ui::PictureBoxProperties sample() {
  ui::PictureBoxProperties p;
  p.border_style = 5;
  p.background = RGB(1, 2, 3);
  p.mode = 2;
  p.play_animation = false;
  p.picture = {0x42, 0x4D, 0x00, 0xFF};
  p.data_source = "source";
  p.data_column = "column";
  return p;
}

void expect_same(const ui::PictureBoxProperties& a, const ui::PictureBoxProperties& b) {
  EXPECT_EQ(a.border_style, b.border_style);
  EXPECT_EQ(a.background, b.background);
  EXPECT_EQ(a.mode, b.mode);
  EXPECT_EQ(a.play_animation, b.play_animation);
  EXPECT_EQ(a.picture, b.picture);
  EXPECT_EQ(a.data_source, b.data_source);
  EXPECT_EQ(a.data_column, b.data_column);
}

void put_u32(Bytes& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

TEST(PictureBoxBlock, FieldsKeepTheirOrderAndComeBack) {
  const Bytes block = sample().serialize();
  // version, border, colour, mode, play, then the picture's length and bytes.
  Bytes head;
  for (std::uint32_t v : {2u, 5u, 0x030201u, 2u, 0u, 4u}) put_u32(head, v);
  ASSERT_GE(block.size(), head.size());
  EXPECT_TRUE(std::equal(head.begin(), head.end(), block.begin()));
  const auto parsed = ui::PictureBoxProperties::parse(block);
  ASSERT_TRUE(parsed);
  expect_same(*parsed, sample());
}

TEST(PictureBoxBlock, DefaultsAreThoseOfANewBox) {
  const ui::PictureBoxProperties p;
  EXPECT_EQ(p.border_style, 0);
  EXPECT_EQ(p.background, 0xFF000000u);
  EXPECT_EQ(p.mode, 0);
  EXPECT_TRUE(p.play_animation);
  EXPECT_TRUE(p.picture.empty());
}

TEST(PictureBoxBlock, VersionOneHasNoDataBinding) {
  Bytes block;
  for (std::uint32_t v : {1u, 1u, 0xFF000000u, 1u, 1u, 0u}) put_u32(block, v);
  const auto parsed = ui::PictureBoxProperties::parse(block);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->border_style, 1);
  EXPECT_EQ(parsed->mode, 1);
  EXPECT_TRUE(parsed->data_source.empty());
}

TEST(PictureBoxBlock, NewerOrShortBlocksAreRejected) {
  Bytes newer = sample().serialize();
  newer[0] = 3;
  EXPECT_FALSE(ui::PictureBoxProperties::parse(newer));
  const Bytes block = sample().serialize();
  for (std::size_t size = 0; size < block.size(); ++size)
    EXPECT_FALSE(ui::PictureBoxProperties::parse(std::span(block.data(), size))) << size;
  // A picture length that runs past the block.
  Bytes lying;
  for (std::uint32_t v : {2u, 0u, 0u, 0u, 1u, 0xFFFFFFF0u}) put_u32(lying, v);
  EXPECT_FALSE(ui::PictureBoxProperties::parse(lying));
}

TEST(PictureBoxType, DescriptorListsTheOperationsAndProperties) {
  const runtime::UnitTypeDescriptor& type = ui::picture_box_unit_type();
  EXPECT_STREQ(type.name, "\xCD\xBC\xC6\xAC\xBF\xF2");  // 图片框 in GBK
  EXPECT_STREQ(type.english_name, "PicBox");
  EXPECT_EQ(type.state_bits, 0x840100C0u);
  ASSERT_EQ(type.property_count, 15u);
  const std::uint16_t own[] = {1006, 1017, 1009, 1006, 1003, 1018, 1020};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(ui::property_kind(type, 8 + i), own[i]) << i;
  EXPECT_EQ(type.properties[0].flags, ui::kCommonPropertyFlags);
  for (std::int32_t code : {ui::kCreateOp, ui::kSetOp, ui::kSerializeOp, ui::kGetOp})
    EXPECT_NE(type.interface_query(code), nullptr) << code;
  for (std::int32_t code : {0, 2, 3, ui::kWindowSwitchesOp, ui::kWantsKeyOp, 9, ui::kDefaultButtonOp})
    EXPECT_EQ(type.interface_query(code), nullptr) << code;
}

using PictureBoxUnit = PictureBoxTest;

TEST_F(PictureBoxUnit, UnreadableBlocksMakeNoBoxAndLeaveNoWindow) {
  Bytes newer = sample().serialize();
  newer[0] = 3;
  EXPECT_EQ(create(newer), nullptr);
  const Bytes block = sample().serialize();
  EXPECT_EQ(create(std::span(block.data(), block.size() - 1)), nullptr);
  EXPECT_EQ(create(Bytes{}), nullptr);
  EXPECT_EQ(GetWindow(parent_, GW_CHILD), nullptr);
}

TEST_F(PictureBoxUnit, ValuesWrittenReadBackAndSurviveSerializing) {
  ui::PictureBox* box = create(ui::PictureBoxProperties{});
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(SendMessageA(box->hwnd(), ui::kMsgGetUnitObject, 0, 0), reinterpret_cast<LRESULT>(box));
  EXPECT_EQ(GetDlgCtrlID(box->hwnd()), 100);
  EXPECT_EQ(get(box, 4).first, 1);  // play animation is on by default
  const std::string source = "db", column = "cover";
  const Bytes junk = {1, 2, 3};
  EXPECT_EQ(set_int(box, 0, 3), 0);
  EXPECT_EQ(set_int(box, 1, RGB(9, 8, 7)), 0);
  EXPECT_EQ(set_bytes(box, junk), 0);
  EXPECT_EQ(set_int(box, 3, 1), 0);
  EXPECT_EQ(set_int(box, 4, 0), 0);
  EXPECT_EQ(set(box, 5, {reinterpret_cast<std::intptr_t>(source.c_str()), 0}), 0);
  EXPECT_EQ(set(box, 6, {reinterpret_cast<std::intptr_t>(column.c_str()), 0}), 0);
  EXPECT_EQ(get(box, 0).first, 3);
  EXPECT_EQ(get(box, 1).first, RGB(9, 8, 7));
  EXPECT_EQ(get_bytes(box), junk);
  EXPECT_EQ(get(box, 3).first, 1);
  EXPECT_EQ(get(box, 4).first, 0);
  EXPECT_STREQ(reinterpret_cast<const char*>(get(box, 5).first), "db");
  EXPECT_STREQ(reinterpret_cast<const char*>(get(box, 6).first), "cover");
  ui::PropertyPair none;
  EXPECT_EQ(operation<ui::GetOp>(ui::kGetOp)(box, 7, &none), 0);
  // Border style 3 is the shallow edge.
  EXPECT_TRUE(GetWindowLongA(box->hwnd(), GWL_EXSTYLE) & WS_EX_STATICEDGE);

  Bytes block;
  ASSERT_TRUE(operation<ui::SerializeOp>(ui::kSerializeOp)(box, &block));
  const auto parsed = ui::PictureBoxProperties::parse(block);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->border_style, 3);
  EXPECT_EQ(parsed->background, RGB(9, 8, 7));
  EXPECT_EQ(parsed->picture, junk);
  EXPECT_EQ(parsed->mode, 1);
  EXPECT_FALSE(parsed->play_animation);
  EXPECT_EQ(parsed->data_source, "db");
  EXPECT_EQ(parsed->data_column, "cover");
  // A box made again from that block reads the same.
  ui::PictureBox* again = create(block);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(get_bytes(again), junk);
  EXPECT_EQ(get(again, 1).first, RGB(9, 8, 7));
  EXPECT_TRUE(GetWindowLongA(again->hwnd(), GWL_EXSTYLE) & WS_EX_STATICEDGE);
}

TEST_F(PictureBoxUnit, ModeThreeCannotBeWrittenAtRunTime) {
  ui::PictureBox* box = create(ui::PictureBoxProperties{});
  ASSERT_NE(box, nullptr);
  set_int(box, 3, 3);
  EXPECT_EQ(get(box, 3).first, 2);
  set_int(box, 3, -4);
  EXPECT_EQ(get(box, 3).first, 0);
}

}  // namespace
}  // namespace picture_box_test
