// Property access by own index: what a write does to the live control, which writes ask for
// re-creation, and what reads answer.
#include <gtest/gtest.h>

#include "platform/api/listview.h"
#include "platform/api/user.h"
#include "tests/ui/listview/listview_fixture.h"
#include "ui/listview/listview_type.h"

namespace listview_test {
namespace {

namespace own = ui::listview::list_view_property;
using ui::listview::ItemRecord;
using ui::listview::ListViewProperties;
using ui::listview::ListViewUnit;

std::int32_t get_int(ListViewUnit* unit, std::int32_t index) {
  ui::PropertyPair pair;
  EXPECT_EQ(unit->get_property(index, &pair), 1) << index;
  return ui::pair_int(pair);
}

int set_int(ListViewUnit* unit, std::int32_t index, std::int32_t v) {
  return unit->set_property(index, ui::int_pair(v));
}

std::vector<std::uint8_t> three_rows() {
  const ItemRecord items[] = {{false, -1, -1, 0, 0, "a", "tip a"},
                              {false, -1, -1, 0, 0, "b", ""},
                              {false, -1, -1, 0, 0, "c", "tip c"}};
  return ui::listview::encode_items(items);
}

bool selected(HWND list, int row) {
  return SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) != 0;
}

using ListViewPropertyTest = ListViewTest;

TEST_F(ListViewPropertyTest, CurrentSelectionReadsTheLiveSelection) {
  ListViewProperties p = song_list_properties();
  p.items = three_rows();
  ListViewUnit* unit = create(p);
  HWND list = unit->hwnd();
  EXPECT_EQ(get_int(unit, own::kCurrentSelection), -1) << "nothing selected";

  EXPECT_EQ(set_int(unit, own::kCurrentSelection, 2), 0);
  EXPECT_TRUE(selected(list, 2));
  EXPECT_EQ(SendMessageA(list, LVM_GETITEMSTATE, 2, LVIS_FOCUSED), LVIS_FOCUSED);
  EXPECT_EQ(get_int(unit, own::kCurrentSelection), 2);

  set_int(unit, own::kCurrentSelection, -7);  // taken as -1: the selection goes
  EXPECT_FALSE(selected(list, 2));
  EXPECT_EQ(get_int(unit, own::kCurrentSelection), -1);
  EXPECT_EQ(unit->properties().current_selection, -1);
}

TEST_F(ListViewPropertyTest, CurrentSelectionWithMultipleSelectionIsOnlyStored) {
  ListViewProperties p = song_list_properties();
  p.items = three_rows();
  p.single_selection = false;
  ListViewUnit* unit = create(p);
  HWND list = unit->hwnd();
  LVITEMA state{};
  state.state = state.stateMask = LVIS_SELECTED;
  SendMessageA(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));

  set_int(unit, own::kCurrentSelection, 0);
  EXPECT_FALSE(selected(list, 0));
  EXPECT_TRUE(selected(list, 1));
  set_int(unit, own::kCurrentSelection, -1);
  EXPECT_TRUE(selected(list, 1));
  EXPECT_EQ(get_int(unit, own::kCurrentSelection), 1);
  EXPECT_EQ(unit->properties().current_selection, -1);
}

TEST_F(ListViewPropertyTest, SelectionStoredInTheTemplateIsApplied) {
  ListViewProperties p = song_list_properties();
  p.items = three_rows();
  p.current_selection = 1;
  ListViewUnit* unit = create(p);
  EXPECT_TRUE(selected(unit->hwnd(), 1));
  EXPECT_EQ(get_int(unit, own::kCurrentSelection), 1);
}

TEST_F(ListViewPropertyTest, RecreationIsAskedExactlyWhereTheChangeNeedsIt) {
  ListViewUnit* report = create(song_list_properties());
  EXPECT_EQ(set_int(report, own::kViewType, 9), 1);
  EXPECT_EQ(report->properties().view, 3);
  EXPECT_EQ(set_int(report, own::kAlignment, 1), 0) << "alignment only matters in the icon views";
  EXPECT_EQ(set_int(report, own::kAutoArrange, 0), 0);
  EXPECT_EQ(set_int(report, own::kFullRowSelect, 0), 1);
  EXPECT_EQ(set_int(report, own::kGridLines, 1), 1);
  EXPECT_EQ(report->properties().grid_lines, true);
  EXPECT_EQ(report->set_property(own::kColumns, ui::data_pair(nullptr, 0)), 1);
  EXPECT_EQ(set_int(report, own::kUnderlineHot, 0), 0) << "no hot tracking";
  EXPECT_EQ(set_int(report, own::kHotTracking, 1), 1);
  EXPECT_EQ(set_int(report, own::kUnderlineHot, 0), 1);
  EXPECT_EQ(set_int(report, own::kSortOrder, 5), 1);
  EXPECT_EQ(report->properties().sort_order, 2);
  EXPECT_EQ(set_int(report, own::kCheckBoxes, 1), 1);
  EXPECT_EQ(set_int(report, own::kBorder, 2), 0);
  EXPECT_EQ(set_int(report, own::kTextColour, 0x123456), 0);
  EXPECT_EQ(set_int(report, 99, 1), 0);

  ListViewProperties icons;
  ListViewUnit* icon_view = create(icons, 0x16010002);
  EXPECT_EQ(set_int(icon_view, own::kAlignment, 1), 1);
  EXPECT_EQ(set_int(icon_view, own::kFullRowSelect, 1), 0);
  EXPECT_EQ(icon_view->set_property(own::kColumns, ui::data_pair(nullptr, 0)), 0);
}

TEST_F(ListViewPropertyTest, InPlaceStyleChanges) {
  ListViewUnit* report = create(song_list_properties());
  HWND list = report->hwnd();
  set_int(report, own::kHideHeader, 1);
  EXPECT_TRUE(GetWindowLongA(list, GWL_STYLE) & LVS_NOCOLUMNHEADER);
  set_int(report, own::kHideHeader, 0);
  EXPECT_FALSE(GetWindowLongA(list, GWL_STYLE) & LVS_NOCOLUMNHEADER);
  set_int(report, own::kBorder, 1);
  EXPECT_TRUE(GetWindowLongA(list, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_FALSE(GetWindowLongA(list, GWL_STYLE) & WS_BORDER);

  ListViewUnit* icons = create(ListViewProperties{}, 0x16010002);
  set_int(icons, own::kWrapLabels, 0);
  EXPECT_TRUE(GetWindowLongA(icons->hwnd(), GWL_STYLE) & LVS_NOLABELWRAP);
  set_int(icons, own::kWrapLabels, 1);
  EXPECT_FALSE(GetWindowLongA(icons->hwnd(), GWL_STYLE) & LVS_NOLABELWRAP);
}

TEST_F(ListViewPropertyTest, ColoursReadBackFromTheControl) {
  ListViewUnit* unit = create(song_list_properties());
  set_int(unit, own::kBackColour, static_cast<std::int32_t>(0xFF000000));
  EXPECT_EQ(static_cast<COLORREF>(get_int(unit, own::kBackColour)), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(unit->properties().back_colour, 0xFF000000u);
  set_int(unit, own::kTextColour, 0x00AA00);
  EXPECT_EQ(get_int(unit, own::kTextColour), 0x00AA00);
}

TEST_F(ListViewPropertyTest, DesignModeAnswersStoredColoursAndSelection) {
  ListViewProperties p = song_list_properties();
  p.items = three_rows();
  p.back_colour = 0xFF000000;
  p.single_selection = false;
  p.current_selection = 2;
  const std::vector<std::uint8_t> block = p.serialize();
  ListViewUnit* unit = create_from_block(block, kListId, true);
  ASSERT_NE(unit, nullptr);
  EXPECT_EQ(static_cast<std::uint32_t>(get_int(unit, own::kBackColour)), 0xFF000000u);
  EXPECT_EQ(get_int(unit, own::kCurrentSelection), 2);
  EXPECT_FALSE(selected(unit->hwnd(), 2));
  // The same outside design mode answers the control.
  ListViewUnit* live = create_from_block(block, 0x16010002);
  EXPECT_EQ(static_cast<COLORREF>(get_int(live, own::kBackColour)), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(get_int(live, own::kCurrentSelection), -1);
}

TEST_F(ListViewPropertyTest, ItemsWrittenAtRunTimeRebuildTheRows) {
  ListViewUnit* unit = create(song_list_properties());
  HWND list = unit->hwnd();
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  const std::vector<std::uint8_t> items = three_rows();
  EXPECT_EQ(unit->set_property(own::kItems, ui::data_pair(items.data(), items.size())), 0);
  ASSERT_EQ(row_count(list), 3);
  EXPECT_EQ(cell(list, 2, 0), "c");
  ui::PropertyPair pair;
  ASSERT_EQ(unit->get_property(own::kItems, &pair), 1);
  const std::span<const std::uint8_t> back = ui::pair_bytes(pair);
  EXPECT_TRUE(std::ranges::equal(back, items));
  EXPECT_EQ(unit->get_property(own::kCount, &pair), 0) << "no such property";
  EXPECT_EQ(unit->get_property(-1, &pair), 0);
}

TEST_F(ListViewPropertyTest, SerializedStateCreatesTheSameListView) {
  ListViewProperties p = song_list_properties();
  p.items = three_rows();
  ListViewUnit* unit = create(p);
  set_int(unit, own::kGridLines, 1);
  set_int(unit, own::kCurrentSelection, 1);
  const std::vector<std::uint8_t> saved = unit->serialize();
  std::optional<ListViewProperties> read = ListViewProperties::parse(saved);
  ASSERT_TRUE(read.has_value());
  EXPECT_TRUE(read->grid_lines);
  EXPECT_EQ(read->current_selection, 1);
  ListViewUnit* again = create_from_block(saved, 0x16010002);
  ASSERT_NE(again, nullptr);
  EXPECT_TRUE(SendMessageA(again->hwnd(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_GRIDLINES);
  EXPECT_EQ(get_int(again, own::kCurrentSelection), 1);
}

// The descriptor list comes from the property table: the common eight, then each own row's kind;
// the view-dependent ones are layout properties and the edited text exists only at run time.
TEST(ListViewDescriptorTest, OwnPropertiesCarryTheirKindsAndFlags) {
  const runtime::UnitTypeDescriptor& type = ui::listview::list_view_unit_type();
  ASSERT_EQ(type.property_count, 39u);
  struct Expected {
    std::int32_t own;
    std::uint16_t kind;
    std::uint16_t flags;
  };
  namespace kind = ui::kind;
  const Expected expected[] = {
      {own::kBorder, kind::kChoice, 0},
      {own::kTextColour, kind::kColour, 0},
      {own::kBackColour, kind::kBackColour, 0},
      {own::kFont, kind::kFont, 0},
      {own::kViewType, kind::kChoice, 0},
      {own::kAlignment, kind::kChoice, 1},
      {own::kColumns, kind::kListData2, 1},
      {own::kHeaderImages, kind::kListData1, 1},
      {own::kHeaderDragDrop, kind::kLogical, 1},
      {own::kItemImages, kind::kListData1, 0},
      {own::kHotTracking, kind::kLogical, 0},
      {own::kUnderlineCold, kind::kLogical, 1},
      {own::kEditLabels, kind::kLogical, 0},
      {own::kSortOrder, kind::kChoice, 0},
      {own::kCurrentSelection, kind::kInteger, 0},
      {own::kItems, kind::kListData2, 0},
      {own::kEditedText, kind::kText, 4},
  };
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.own);
    EXPECT_EQ(type.properties[8 + e.own].kind, e.kind);
    EXPECT_EQ(type.properties[8 + e.own].flags, e.flags);
  }
}

TEST_F(ListViewPropertyTest, TextsOfABlockAreEnumerated) {
  const runtime::UnitTypeDescriptor& type = ui::listview::list_view_unit_type();
  auto enumerate = reinterpret_cast<ui::listview::EnumerateTextsOp>(type.interface_query(9));
  ASSERT_NE(enumerate, nullptr);
  ListViewProperties p = song_list_properties();
  p.items = three_rows();
  std::vector<std::string> texts;
  const std::vector<std::uint8_t> block = p.serialize();
  const int count = enumerate(
      block, [](const char* t, void* out) { static_cast<std::vector<std::string>*>(out)->push_back(t); },
      &texts);
  EXPECT_EQ(count, 8);
  ASSERT_EQ(texts.size(), 8u);
  EXPECT_EQ(texts[1], "\xB8\xE8\xB4\xCA\xB5\xD8\xD6\xB7");
  EXPECT_EQ(texts[6], "c");
  EXPECT_EQ(texts[7], "tip c");
  std::vector<std::uint8_t> newer = block;
  newer[0] = 2;
  EXPECT_EQ(enumerate(newer, nullptr, nullptr), -1);
}

}  // namespace
}  // namespace listview_test
