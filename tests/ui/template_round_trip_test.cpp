#include <gtest/gtest.h>

#include <vector>

#include "tests/ui/main_window_template.h"
#include "ui/templates/template_builder.h"
#include "ui/templates/template_parser.h"

namespace {

using namespace ui::templates;

// A code base whose routines answer every offset a test uses.
void routine_a() {}
const runtime::CodeEntry kEntries[] = {{0, &routine_a}, {0x40, &routine_a}, {0x7FFFFFF0, &routine_a}};
const runtime::CodeBase kCodeBase{kEntries, 3};

// Two windows that use every field the format has: counted texts, reserved words, children with
// page separators, long cursor selectors, tags, several bindings, menus with hotkeys, empty
// property data.
struct TwoWindows {
  std::vector<std::uint8_t> props_a{1, 2, 3, 4, 5};
  std::vector<std::uint8_t> props_b;
  std::vector<WindowTemplate> windows;

  TwoWindows() {
    WindowTemplate first;
    first.id = 0x52010001;
    first.index_reserved = 0xDEADBEEF;
    first.reserved[0] = 7;
    first.reserved[1] = 0x19010002;
    first.text1 = "one";
    first.text2 = std::string("t\0wo", 4);  // counted texts may hold a NUL
    first.units.push_back(window_unit(0x06010000, 0x00010001, Rect{-5, 10, 300, 200},
                                      kVisible | kOwnerDrawnPopups, {{0, 0}, {12, 0x40}, {-7, -1}}, props_a));
    UnitRecord page =
        control(0x16010002, 0x0001000C, "pages", Rect{1, 2, 3, 4}, kVisible | kDisabled, {}, props_b);
    page.control().child_ids = {0x16010003, 0, 0x16010004};
    page.control().cursor_selector = std::vector<std::uint8_t>(14, 0xAB);
    page.control().tag = "tagged";
    page.reserved = {1, 2, 3, 4, 5};
    page.remark = "remark";
    page.control().reserved_before_flags = 9;
    page.control().reserved_after_flags = 10;
    page.control().reserved_tail[19] = 0x55;
    first.units.push_back(std::move(page));
    UnitRecord inner =
        control(0x16010003, 0x0001000A, "inner", Rect{0, 0, 10, 10}, 0, {{-1, 0x7FFFFFF0}}, props_a);
    inner.control().parent_id = 0x16010002;
    inner.control().cursor_selector.clear();
    first.units.push_back(std::move(inner));
    first.units.push_back(menu_item(0x26010005, "&File", 0, 0, -1, 1));
    first.units.push_back(menu_item(0x26010006, "-", 1, kMenuDisabled | kMenuChecked, 0x40, 76));
    first.units.push_back(control(0x16010004, 0x0001000B, "", Rect{}, kTabStop, {}, props_a));

    WindowTemplate second;
    second.id = 0x52010002;
    second.units.push_back(window_unit(0x06010001, 0x00010001, Rect{0, 0, 10, 10}, 0, {}, props_b));
    windows = {std::move(first), std::move(second)};
  }
};

TEST(TemplateRoundTrip, ParsingWhatWasBuiltGivesBackTheSameWindows) {
  TwoWindows source;
  const std::vector<std::uint8_t> block = build_templates(source.windows);
  ParseResult parsed = parse_templates(block, &kCodeBase);
  ASSERT_TRUE(parsed) << parsed.failure().what << " at " << parsed.failure().position;
  ASSERT_EQ(parsed.value().windows().size(), 2u);
  EXPECT_EQ(parsed.value().windows()[0], source.windows[0]);
  EXPECT_EQ(parsed.value().windows()[1], source.windows[1]);
  // And the parsed form builds to the very same bytes.
  EXPECT_EQ(build_templates(parsed.value().windows()), block);
}

TEST(TemplateRoundTrip, MainWindowRebuildsByteForByte) {
  ui_test::MainWindowTemplate source;
  const std::vector<std::uint8_t> block = source.block();
  ParseResult parsed = parse_templates(block, &ui_test::main_window_code_base());
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed.value().windows()[0], source.window());
  EXPECT_EQ(build_templates(parsed.value().windows()), block);
}

TEST(TemplateRoundTrip, EqualityNoticesAChangedField) {
  // Guards the round-trip tests above: equality must not be vacuous.
  TwoWindows a;
  TwoWindows b;
  EXPECT_EQ(a.windows[0], b.windows[0]);
  b.props_a[4] = 6;  // property bytes are compared, not their address
  EXPECT_NE(a.windows[0], b.windows[0]);
  TwoWindows c;
  c.windows[0].units[4].menu().hotkey = 75;
  EXPECT_NE(a.windows[0], c.windows[0]);
  TwoWindows d;
  d.windows[0].units[1].control().child_ids.pop_back();
  EXPECT_NE(a.windows[0], d.windows[0]);
}

TEST(TemplateRoundTrip, LayoutOfASmallBlockIsExact) {
  std::vector<std::uint8_t> none;
  WindowTemplate w;
  w.id = 0x52000001;
  w.units.push_back(window_unit(0x06000001, 0x00010001, Rect{1, 2, 3, 4}, kVisible, {{0, -1}}, none));
  const std::vector<std::uint8_t> block = build_templates(std::span(&w, 1));
  // index 12 + window record 24 + unit table (ids 4, offsets 4, size 4, record)
  const std::size_t record = 24 + 1 + 1 + 20 + 4 + 4 + 4 + 4 + 4 + 1 + 4 + 4 + 4 + 4 + 8 + 20;
  ASSERT_EQ(block.size(), 12 + 24 + 12 + record);
  auto u32_at = [&](std::size_t at) {
    return block[at] | (block[at + 1] << 8) | (block[at + 2] << 16) |
           (static_cast<std::uint32_t>(block[at + 3]) << 24);
  };
  EXPECT_EQ(u32_at(0), 8u);                               // index length
  EXPECT_EQ(u32_at(4), 0x52000001u);                      // window id
  EXPECT_EQ(u32_at(28), 1u);                              // unit count
  EXPECT_EQ(u32_at(32), 12 + record);                     // unit table length
  EXPECT_EQ(u32_at(36), 0x06000001u);                     // unit id
  EXPECT_EQ(u32_at(40), 0u);                              // record offset
  EXPECT_EQ(u32_at(44), record);                          // record size
  EXPECT_EQ(u32_at(48), 0x00010001u);                     // type reference
  EXPECT_EQ(u32_at(48 + 26 + 4), 1u);                     // left, after the object slot
  EXPECT_EQ(u32_at(block.size() - 20 - 4), 0xFFFFFFFFu);  // handler offset -1
}

TEST(TemplateRoundTrip, EmptyListBuildsTheEmptyBlock) {
  EXPECT_TRUE(build_templates({}).empty());
  ParseResult parsed = parse_templates({}, nullptr);
  ASSERT_TRUE(parsed);
  EXPECT_TRUE(parsed.value().windows().empty());
}

}  // namespace
