// The group box unit: its property data block, creation, colours and in-place changes.
#include "ui/units/group_box_unit.h"

#include <gtest/gtest.h>

#include "platform/api/controls.h"
#include "tests/ui/edit_unit_fixture.h"
#include "ui/units/group_box_properties.h"
#include "ui/units/unit_types.h"

namespace controls_test {
namespace {

using ui::GroupBoxProperties;

enum Own { kCaption = 0, kAlignment = 1, kTextColour = 2, kBackground = 3, kFont = 4 };

TEST(GroupBoxBlock, RoundTripsRefusesNewerAndTruncatedAndClamps) {
  GroupBoxProperties p;
  p.caption = "\xD7\xA8\xBC\xAD\xB7\xE2\xC3\xE6";
  p.alignment = 2;
  p.text_colour = 0x0000FF;
  p.background = 0x00FF00;
  p.font.assign(60, 3);
  std::vector<std::uint8_t> block = p.serialize();
  EXPECT_EQ(block[4], 2);  // alignment is stored first
  const std::optional<GroupBoxProperties> back = GroupBoxProperties::parse(block);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->caption, p.caption);
  EXPECT_EQ(back->alignment, 2);
  EXPECT_EQ(back->text_colour, p.text_colour);
  EXPECT_EQ(back->background, p.background);
  EXPECT_EQ(back->font, p.font);
  for (std::size_t n = 0; n < block.size(); ++n)
    EXPECT_FALSE(GroupBoxProperties::parse(std::span(block).first(n)));
  block[0] = 2;
  EXPECT_FALSE(GroupBoxProperties::parse(block).has_value());
  p.alignment = 9;
  EXPECT_EQ(GroupBoxProperties::parse(p.serialize())->alignment, 2);
}

class GroupBoxUnitTest : public ControlsTest {
 protected:
  HWND make_box(const GroupBoxProperties& p) {
    ui::Unit* unit = make(ui::group_box_unit_type(), p.serialize(), {10, 10, 210, 130}, 0);
    return unit != nullptr ? unit->hwnd() : nullptr;
  }
  static int set(HWND box, std::int32_t index, ui::PropertyPair value) {
    return ui_test::unit_op<ui::SetOp>(ui::group_box_unit_type(), ui::kSetOp)(ui::Unit::from_window(box),
                                                                              index, value);
  }
};

TEST_F(GroupBoxUnitTest, CreatedWithAlignmentCaptionAndColours) {
  GroupBoxProperties p;
  p.caption = "Cover";
  p.alignment = 1;
  p.text_colour = 0x000000FF;
  p.background = 0x0000FF00;
  HWND box = make_box(p);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(style_of(box) & BS_TYPEMASK, BS_GROUPBOX);
  EXPECT_EQ(style_of(box) & BS_CENTER, BS_CENTER);
  EXPECT_EQ(text_of(box), "Cover");
  EXPECT_GT(pixels_near(box, 0x000000FF, 80), 0) << "caption in the text colour";
  EXPECT_GT(pixels_near(box, 0x0000FF00), 0) << "background colour";

  std::vector<std::uint8_t> newer = p.serialize();
  newer[0] = 2;
  EXPECT_EQ(make(ui::group_box_unit_type(), newer), nullptr);
}

TEST_F(GroupBoxUnitTest, PropertiesApplyInPlace) {
  GroupBoxProperties p;
  p.caption = "Cover";
  HWND box = make_box(p);
  ASSERT_NE(box, nullptr);
  const char* caption = "\xD7\xA8\xBC\xAD";
  EXPECT_EQ(set(box, kCaption, {reinterpret_cast<std::intptr_t>(caption), 4}), 0);
  EXPECT_EQ(text_of(box), caption);
  EXPECT_EQ(set(box, kAlignment, ui::int_pair(2)), 0);
  EXPECT_EQ(style_of(box) & BS_CENTER, BS_RIGHT);
  EXPECT_EQ(set(box, kTextColour, ui::int_pair(0x00FF0000)), 0);
  EXPECT_EQ(set(box, kBackground, ui::int_pair(0x0000FFFF)), 0);
  ui_test::settle();
  EXPECT_GT(pixels_near(box, 0x00FF0000, 80), 0);
  EXPECT_GT(pixels_near(box, 0x0000FFFF), 0);
  LOGFONTA font{};
  font.lfHeight = -24;
  EXPECT_EQ(set(box, kFont, ui::data_pair(&font, sizeof font)), 0);
  LOGFONTA applied{};
  GetObjectA(reinterpret_cast<HGDIOBJ>(SendMessageA(box, WM_GETFONT, 0, 0)), sizeof applied, &applied);
  EXPECT_EQ(applied.lfHeight, -24);
}

}  // namespace
}  // namespace controls_test
