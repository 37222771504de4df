#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/ui/main_window_template.h"
#include "ui/templates/template_builder.h"
#include "ui/templates/template_parser.h"

namespace {

using namespace ui::templates;
using ui_test::routine_at;

struct ExpectedUnit {
  std::uint32_t id;
  std::uint32_t type;
  std::string name;
  Rect rect;
  std::uint32_t flags;
};

class MainWindowParse : public ::testing::Test {
 protected:
  void SetUp() override {
    block_ = source_.block();
    ParseResult parsed = parse_templates(block_, &ui_test::main_window_code_base());
    ASSERT_TRUE(parsed) << parsed.failure().what << " at " << parsed.failure().position;
    set_ = std::move(parsed.value());
    ASSERT_EQ(set_.windows().size(), 1u);
  }
  const WindowTemplate& window() const { return set_.windows()[0]; }

  ui_test::MainWindowTemplate source_;
  std::vector<std::uint8_t> block_;
  TemplateSet set_;
};

TEST_F(MainWindowParse, HoldsTheThirteenUnitsInTemplateOrder) {
  const WindowTemplate& w = window();
  EXPECT_EQ(w.id, 0x52010001u);
  EXPECT_EQ(w.index_reserved, 0x01408990u);
  EXPECT_EQ(w.reserved[0], 0x0000000Bu);
  EXPECT_EQ(w.reserved[1], 0x19010002u);
  const std::vector<ExpectedUnit> expected = {
      {0x06010000, 0x00010001, "", {50, 50, 418, 512}, kVisible},
      {0x160100BF,
       0x0001000A,
       "\xB1\xEA\xC7\xA9"
       "3",
       {224, 232, 96, 40},
       kVisible},
      {0x26010080, 0x00010003, "", {}, 0},
      {0x26010081, 0x00010003, "", {}, 0},
      {0x16010074,
       0x00010006,
       "\xCD\xBC\xC6\xAC\xBF\xF2"
       "1",
       {227, 293, 180, 180},
       kVisible},
      {0x1601005D,
       0x00010005,
       "\xB1\xE0\xBC\xAD\xBF\xF2"
       "1",
       {8, 224, 208, 252},
       kVisible | kTabStop},
      {0x1601001E, 0x0001000B, "\xD7\xDF\xC4\xE3", {328, 228, 80, 48}, kVisible | kTabStop},
      {0x1601001D, 0x00010005, "Artist", {288, 196, 120, 24}, kVisible | kTabStop},
      {0x1601001C, 0x00010005, "Name", {56, 196, 160, 24}, kVisible | kTabStop},
      {0x1601001B,
       0x0001000A,
       "\xB1\xEA\xC7\xA9"
       "2",
       {240, 196, 48, 26},
       kVisible},
      {0x1601001A,
       0x0001000A,
       "\xB1\xEA\xC7\xA9"
       "1",
       {8, 198, 40, 16},
       kVisible},
      {0x16010019,
       0x00020004,
       "\xB3\xAC\xBC\xB6\xC1\xD0\xB1\xED\xBF\xF2"
       "1",
       {8, 8, 400, 184},
       kVisible | kTabStop},
      {0x160100BE,
       0x00010009,
       "\xB7\xD6\xD7\xE9\xBF\xF2"
       "1",
       {224, 278, 186, 198},
       kVisible},
  };
  ASSERT_EQ(w.units.size(), 13u);
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    const UnitRecord& u = w.units[i];
    EXPECT_EQ(u.id, expected[i].id);
    EXPECT_EQ(u.type_reference, expected[i].type);
    EXPECT_EQ(u.name, expected[i].name);
    EXPECT_EQ(u.is_menu(), is_menu_id(u.id));
    if (u.is_menu()) continue;
    const ControlRecord& c = u.control();
    EXPECT_EQ(c.left, expected[i].rect.left);
    EXPECT_EQ(c.top, expected[i].rect.top);
    EXPECT_EQ(c.width, expected[i].rect.width);
    EXPECT_EQ(c.height, expected[i].rect.height);
    EXPECT_EQ(c.state_flags, expected[i].flags);
    EXPECT_EQ(c.parent_id, 0u);
    EXPECT_TRUE(c.child_ids.empty());
    EXPECT_EQ(c.cursor_selector, std::vector<std::uint8_t>(4, 0));
    EXPECT_EQ(c.tag, "");
    EXPECT_FALSE(c.properties.empty());
  }
  EXPECT_EQ(w.find_unit(0x1601001C), 8);
  EXPECT_EQ(w.find_unit(0x16019999), -1);
  EXPECT_EQ(set_.find_window(0x52010001), 0);
  EXPECT_EQ(set_.find_window(0x52010002), -1);
}

TEST_F(MainWindowParse, MenuRecordsKeepLevelsFlagsAndCaptions) {
  const MenuRecord& parent = window().units[2].menu();
  EXPECT_EQ(parent.caption, "\xB2\xCB\xB5\xA5");
  EXPECT_EQ(parent.level, 0u);
  EXPECT_EQ(parent.flags, kMenuHidden);
  EXPECT_EQ(parent.handler_offset, -1);
  EXPECT_EQ(parent.handler, nullptr);
  const MenuRecord& item = window().units[3].menu();
  EXPECT_EQ(item.caption, "\xCF\xC2\xD4\xD8\xB8\xE8\xB4\xCA");
  EXPECT_EQ(item.level, 1u);
  EXPECT_EQ(item.flags, 0u);
  EXPECT_EQ(item.hotkey, 0u);
}

TEST_F(MainWindowParse, HandlerOffsetsAreRelocatedThroughTheCodeBase) {
  struct Binding {
    std::size_t unit;
    std::int32_t event;
    std::int32_t offset;
  };
  const Binding bindings[] = {
      {0, 0, 0x135E}, {1, -1, 0x0000}, {6, 0, 0x1388}, {11, -3, 0x16E7}, {11, 5, 0x1606}};
  std::vector<runtime::Routine> seen;
  for (const Binding& b : bindings) {
    SCOPED_TRACE(b.offset);
    const ControlRecord& c = window().units[b.unit].control();
    const EventBinding* it = c.binding(b.event);
    ASSERT_NE(it, nullptr);
    EXPECT_EQ(it->handler_offset, b.offset);
    ASSERT_NE(it->handler, nullptr);  // offset 0 is a real handler, not "none"
    EXPECT_EQ(it->handler, routine_at(b.offset));
    seen.push_back(it->handler);
  }
  const MenuRecord& item = window().units[3].menu();
  EXPECT_EQ(item.handler_offset, 0x01E0);
  ASSERT_NE(item.handler, nullptr);
  EXPECT_EQ(item.handler, routine_at(0x01E0));
  seen.push_back(item.handler);
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end()) << "two bindings share a routine";

  EXPECT_EQ(window().units[11].control().binding(-1), nullptr);
  int bound_units = 0;
  for (const UnitRecord& u : window().units) {
    if (!u.is_menu() && !u.control().events.empty()) ++bound_units;
  }
  EXPECT_EQ(bound_units, 4);
}

TEST_F(MainWindowParse, PropertyDataPointsIntoTheSetsOwnCopy) {
  const auto copy = set_.block();
  ASSERT_EQ(copy.size(), block_.size());
  EXPECT_NE(copy.data(), block_.data());
  for (const UnitRecord& u : window().units) {
    if (u.is_menu()) continue;
    const auto p = u.control().properties;
    EXPECT_GE(p.data(), copy.data());
    EXPECT_LE(p.data() + p.size(), copy.data() + copy.size());
  }
  // The label's data ends with its caption and two empty texts.
  const auto label = window().units[1].control().properties;
  EXPECT_EQ(label[0], 2u);  // version
  // Destroying the caller's bytes leaves the parsed data intact.
  const std::vector<std::uint8_t> before(label.begin(), label.end());
  std::fill(block_.begin(), block_.end(), 0xEE);
  EXPECT_TRUE(std::equal(before.begin(), before.end(), label.begin(), label.end()));
}

// The size the program image's header states for this block is 2586; the block built from the
// layout comes to 3 bytes fewer, and the header must carry what was built.
TEST_F(MainWindowParse, BlockSizeIsWhatTheLayoutGives) {
  EXPECT_EQ(block_.size(), 2583u);
}

}  // namespace
