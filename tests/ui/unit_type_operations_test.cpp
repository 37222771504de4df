// The unit types' interface queries: which codes each type answers, how the shared operations
// treat missing units and outputs, and that a stored background picture, its getter and the
// serialized block agree.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <set>
#include <span>
#include <vector>

#include "platform/api/input.h"
#include "tests/ui/window_unit_support.h"
#include "ui/listview/listview_type.h"
#include "ui/units/label_unit.h"
#include "ui/units/unit_types.h"
#include "ui/units/unit_values.h"

namespace {

struct TypeCase {
  const char* label;
  const runtime::UnitTypeDescriptor& (*type)();
  std::set<std::int32_t> own_codes;  // answered besides 1, 4, 5 and 6
};

const std::vector<TypeCase>& type_cases() {
  static const std::vector<TypeCase> cases = {
      {"window", &ui::window_unit_type, {ui::kWindowSwitchesOp}},
      {"edit", &ui::edit_unit_type, {ui::kWantsKeyOp}},
      {"picture box", &ui::picture_box_unit_type, {}},
      {"group box", &ui::group_box_unit_type, {}},
      {"label", &ui::label_unit_type, {}},
      {"button", &ui::button_unit_type, {ui::kDefaultButtonOp}},
      {"list view", &ui::listview::list_view_unit_type, {ui::listview::kEnumerateTextsOp}},
  };
  return cases;
}

TEST(UnitTypeOperationsTest, EachTypeAnswersTheCommonCodesAndOnlyItsOwnExtras) {
  const std::set<std::int32_t> common = {ui::kCreateOp, ui::kSetOp, ui::kSerializeOp, ui::kGetOp};
  for (const TypeCase& c : type_cases()) {
    const runtime::UnitTypeDescriptor& type = c.type();
    ASSERT_NE(type.interface_query, nullptr) << c.label;
    for (std::int32_t code = -2; code <= 16; ++code) {
      const bool answered = common.contains(code) || c.own_codes.contains(code);
      EXPECT_EQ(type.interface_query(code) != nullptr, answered) << c.label << " code " << code;
    }
  }
  EXPECT_EQ(ui::menu_unit_type().interface_query, nullptr);
}

TEST(UnitTypeOperationsTest, OperationsOnAMissingUnitAnswerNothing) {
  for (const TypeCase& c : type_cases()) {
    const runtime::UnitTypeDescriptor& type = c.type();
    ui::PropertyPair pair{7, 7};
    EXPECT_EQ(ui_test::unit_op<ui::SetOp>(type, ui::kSetOp)(nullptr, 0, ui::int_pair(1)), 0) << c.label;
    EXPECT_EQ(ui_test::unit_op<ui::GetOp>(type, ui::kGetOp)(nullptr, 0, &pair), 0) << c.label;
    EXPECT_EQ(pair.first, 7) << c.label;
    std::vector<std::uint8_t> block = {1, 2, 3};
    EXPECT_FALSE(ui_test::unit_op<ui::SerializeOp>(type, ui::kSerializeOp)(nullptr, &block)) << c.label;
    EXPECT_EQ(block.size(), 3u) << c.label;
  }
  EXPECT_EQ(ui_test::unit_op<ui::DefaultButtonOp>(ui::button_unit_type(), ui::kDefaultButtonOp)(nullptr), 0);
  EXPECT_EQ(ui_test::unit_op<ui::WantsKeyOp>(ui::edit_unit_type(), ui::kWantsKeyOp)(nullptr, VK_RETURN), 0);
  ui::WindowSwitches switches;
  switches.help_context = 5;
  ui_test::unit_op<ui::WindowSwitchesOp>(ui::window_unit_type(), ui::kWindowSwitchesOp)(nullptr, &switches);
  EXPECT_EQ(switches.help_context, 5);
}

class LabelOperationsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::LabelProperties p;
    p.caption = "Lyrics";
    block_ = p.serialize();
    ui::UnitCreateArgs args{.parent = parent_.hwnd(),
                            .properties = block_,
                            .control_id = 100,
                            .width = 120,
                            .height = 40,
                            .window_id = 0x52000001,
                            .unit_id = 0x16000009};
    unit_ = ui_test::create_unit(ui::label_unit_type(), args);
  }

  ui_test::ParentWindow parent_{300, 200};
  std::vector<std::uint8_t> block_;
  void* unit_ = nullptr;
};

TEST_F(LabelOperationsTest, BackgroundPictureReadsBackAndSerializesAsSet) {
  ASSERT_NE(unit_, nullptr);
  const runtime::UnitTypeDescriptor& type = ui::label_unit_type();
  const std::vector<std::uint8_t> bmp = ui_test::solid_bmp(4, 3, 0x000000FF);
  {
    std::vector<std::uint8_t> scratch = bmp;  // the setter must copy: this buffer goes away
    EXPECT_EQ(ui_test::unit_op<ui::SetOp>(type, ui::kSetOp)(unit_, ui::label_property::kBackgroundPicture,
                                                            ui::data_pair(scratch.data(), scratch.size())),
              0);
    scratch.assign(scratch.size(), 0);
  }
  ui::PropertyPair pair;
  ASSERT_EQ(
      ui_test::unit_op<ui::GetOp>(type, ui::kGetOp)(unit_, ui::label_property::kBackgroundPicture, &pair), 1);
  const std::span<const std::uint8_t> got = ui::pair_bytes(pair);
  EXPECT_EQ(std::vector<std::uint8_t>(got.begin(), got.end()), bmp);

  std::vector<std::uint8_t> block;
  ASSERT_TRUE(ui_test::unit_op<ui::SerializeOp>(type, ui::kSerializeOp)(unit_, &block));
  const std::optional<ui::LabelProperties> parsed = ui::LabelProperties::parse(block);
  ASSERT_TRUE(parsed.has_value());
  EXPECT_EQ(parsed->background_picture, bmp);
  EXPECT_EQ(parsed->caption, "Lyrics");
}

TEST_F(LabelOperationsTest, MissingOutputsAreRefused) {
  ASSERT_NE(unit_, nullptr);
  const runtime::UnitTypeDescriptor& type = ui::label_unit_type();
  EXPECT_EQ(ui_test::unit_op<ui::GetOp>(type, ui::kGetOp)(unit_, ui::label_property::kCaption, nullptr), 0);
  EXPECT_FALSE(ui_test::unit_op<ui::SerializeOp>(type, ui::kSerializeOp)(unit_, nullptr));
}

}  // namespace
