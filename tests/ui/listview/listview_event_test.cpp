// Events of list views from injected input: clicks, check boxes, label editing, focus, tips.
#include <gtest/gtest.h>

#include "platform/api/input.h"
#include "platform/api/listview.h"
#include "platform/api/user.h"
#include "platform/winsys/headless.h"
#include "tests/ui/listview/listview_fixture.h"

namespace listview_test {
namespace {

namespace own = ui::listview::list_view_property;
using platform::headless::Button;
using ui::listview::ItemRecord;
using ui::listview::ListViewProperties;
using ui::listview::ListViewUnit;

std::vector<std::uint8_t> rows(std::initializer_list<const char*> texts) {
  std::vector<ItemRecord> items;
  for (const char* t : texts) items.push_back({false, -1, -1, 0, 0, t, std::string("tip ") + t});
  return ui::listview::encode_items(items);
}

POINT row_point(HWND list, int row) {
  RECT r{};
  r.left = LVIR_LABEL;
  EXPECT_TRUE(SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r)));
  return POINT{r.left + 6, (r.top + r.bottom) / 2};
}

// A point on the row's check box, found by asking the control.
std::optional<POINT> check_box_point(HWND list, int row) {
  const POINT label = row_point(list, row);
  for (int x = 0; x < label.x; ++x) {
    LVHITTESTINFO hit{};
    hit.pt = POINT{x, label.y};
    if (SendMessageA(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) == row &&
        (hit.flags & LVHT_ONITEMSTATEICON))
      return hit.pt;
  }
  return std::nullopt;
}

std::vector<std::int32_t> without_common(const std::vector<std::int32_t>& events) {
  std::vector<std::int32_t> out;
  for (std::int32_t e : events) {
    if (e >= 0) out.push_back(e);
  }
  return out;
}

using ListViewEventTest = ListViewTest;

TEST_F(ListViewEventTest, ClicksRaiseTheirEventsWithTheUnitsIds) {
  ListViewProperties p = song_list_properties();
  p.items = rows({"one", "two"});
  HWND list = create(p)->hwnd();
  raised.clear();
  platform::headless::click(list, row_point(list, 1), Button::right);
  idle();
  const Raised* right = last(5);
  ASSERT_NE(right, nullptr);
  EXPECT_EQ(right->window_id, kWindowId);
  EXPECT_EQ(right->unit_id, kListId);
  EXPECT_TRUE(right->args.empty());
  EXPECT_EQ(last(4), nullptr);
  ASSERT_NE(last(0), nullptr) << "the clicked row became the focused one";
  ASSERT_NE(last(-7), nullptr) << "the control got the focus";

  raised.clear();
  platform::headless::advance_clock(1000);
  platform::headless::click(list, row_point(list, 0));
  idle();
  EXPECT_EQ(without_common(event_numbers()), (std::vector<std::int32_t>{0, 4}));
}

TEST_F(ListViewEventTest, DoubleClickActivatesTheRow) {
  ListViewProperties p = song_list_properties();
  p.items = rows({"one", "two"});
  HWND list = create(p)->hwnd();
  raised.clear();
  platform::headless::double_click(list, row_point(list, 0));
  idle();
  EXPECT_EQ(without_common(event_numbers()), (std::vector<std::int32_t>{0, 4, 1}))
      << "the second click activates";
}

TEST_F(ListViewEventTest, HotTrackingNamesTheRowUnderTheMouse) {
  ListViewProperties p = song_list_properties();
  p.hot_tracking = true;
  p.items = rows({"one", "two"});
  HWND list = create(p)->hwnd();
  raised.clear();
  platform::headless::mouse_move(list, row_point(list, 1));
  idle();
  const Raised* hot = last(3);
  ASSERT_NE(hot, nullptr);
  EXPECT_EQ(hot->args, (std::vector<std::uint32_t>{1}));
}

TEST_F(ListViewEventTest, FocusLeavingRaisesFocusLost) {
  HWND list = create(song_list_properties())->hwnd();
  SetFocus(list);
  idle();
  raised.clear();
  SetFocus(parent());
  idle();
  EXPECT_EQ(event_numbers(), (std::vector<std::int32_t>{-8}));
}

TEST_F(ListViewEventTest, HeaderClickNamesTheColumn) {
  ListViewProperties p = song_list_properties();
  p.header_clickable = true;
  HWND list = create(p)->hwnd();
  auto header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
  RECT second{};
  ASSERT_TRUE(SendMessageA(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second)));
  raised.clear();
  platform::headless::click(header,
                            POINT{(second.left + second.right) / 2, (second.top + second.bottom) / 2});
  idle();
  const Raised* column = last(2);
  ASSERT_NE(column, nullptr);
  EXPECT_EQ(column->args, (std::vector<std::uint32_t>{1}));
}

TEST_F(ListViewEventTest, CheckBoxClickRaisesEightWithTheNewState) {
  ListViewProperties p = song_list_properties();
  p.check_boxes = true;
  p.items = rows({"one", "two"});
  HWND list = create(p)->hwnd();
  const std::optional<POINT> box = check_box_point(list, 1);
  ASSERT_TRUE(box.has_value());
  raised.clear();
  platform::headless::click(list, *box);
  idle();
  const Raised* checked = last(8);
  ASSERT_NE(checked, nullptr);
  EXPECT_EQ(checked->args, (std::vector<std::uint32_t>{1, 1}));

  raised.clear();
  platform::headless::advance_clock(1000);
  platform::headless::click(list, *box);
  idle();
  ASSERT_NE(last(8), nullptr);
  EXPECT_EQ(last(8)->args, (std::vector<std::uint32_t>{1, 0}));

  // A click on the label toggles nothing.
  raised.clear();
  platform::headless::advance_clock(1000);
  platform::headless::click(list, row_point(list, 0));
  idle();
  EXPECT_EQ(last(8), nullptr);

  // The space bar toggles the focused row.
  raised.clear();
  platform::headless::key_press(VK_SPACE);
  idle();
  ASSERT_NE(last(8), nullptr);
  EXPECT_EQ(last(8)->args, (std::vector<std::uint32_t>{0, 1}));
}

TEST_F(ListViewEventTest, CheckBoxEventsNeedTheStateIcon) {
  ListViewProperties p = song_list_properties();
  p.items = rows({"one"});
  HWND list = create(p)->hwnd();
  raised.clear();
  platform::headless::click(list, POINT{2, row_point(list, 0).y});
  platform::headless::key_press(VK_SPACE);
  idle();
  EXPECT_EQ(last(8), nullptr);
}

TEST_F(ListViewEventTest, LabelEditingStartsAndEndsThroughHandlers) {
  ListViewProperties p = song_list_properties();
  p.edit_labels = true;
  p.items = rows({"one", "two"});
  ListViewUnit* unit = create(p);
  HWND list = unit->hwnd();

  // A handler returning false for event 6 cancels the editing.
  reply = [](const Raised& e) -> std::optional<std::uint32_t> {
    if (e.event == 6) return 0u;
    return std::nullopt;
  };
  raised.clear();
  EXPECT_EQ(SendMessageA(list, LVM_EDITLABELA, 1, 0), 0);
  ASSERT_NE(last(6), nullptr);
  EXPECT_EQ(last(6)->args, (std::vector<std::uint32_t>{1}));
  EXPECT_EQ(SendMessageA(list, LVM_GETEDITCONTROL, 0, 0), 0);

  // Event 7 sees the new text as EditedText; false rejects it.
  std::string seen_during_7;
  reply = [&](const Raised& e) -> std::optional<std::uint32_t> {
    if (e.event != 7) return std::nullopt;
    ui::PropertyPair text;
    unit->get_property(own::kEditedText, &text);
    seen_during_7 = std::string(ui::pair_text(text));
    return 0u;
  };
  auto edit = reinterpret_cast<HWND>(SendMessageA(list, LVM_EDITLABELA, 1, 0));
  ASSERT_NE(edit, nullptr);
  SetWindowTextA(edit, "renamed");
  platform::headless::key_press(VK_RETURN);
  idle();
  ASSERT_NE(last(7), nullptr);
  EXPECT_EQ(last(7)->args, (std::vector<std::uint32_t>{1}));
  EXPECT_EQ(seen_during_7, "renamed");
  EXPECT_EQ(cell(list, 1, 0), "two") << "rejected";
  ui::PropertyPair after;
  unit->get_property(own::kEditedText, &after);
  EXPECT_EQ(ui::pair_text(after), "") << "EditedText lives only during event 7";

  // With no answer the text is taken.
  reply = nullptr;
  edit = reinterpret_cast<HWND>(SendMessageA(list, LVM_EDITLABELA, 0, 0));
  ASSERT_NE(edit, nullptr);
  SetWindowTextA(edit, "accepted");
  platform::headless::key_press(VK_RETURN);
  idle();
  EXPECT_EQ(cell(list, 0, 0), "accepted");

  // Abandoned editing offers the cell's current text.
  reply = [&](const Raised& e) -> std::optional<std::uint32_t> {
    if (e.event == 7) {
      ui::PropertyPair text;
      unit->get_property(own::kEditedText, &text);
      seen_during_7 = std::string(ui::pair_text(text));
    }
    return std::nullopt;
  };
  edit = reinterpret_cast<HWND>(SendMessageA(list, LVM_EDITLABELA, 0, 0));
  ASSERT_NE(edit, nullptr);
  SetWindowTextA(edit, "thrown away");
  platform::headless::key_press(VK_ESCAPE);
  idle();
  EXPECT_EQ(seen_during_7, "accepted");
  EXPECT_EQ(cell(list, 0, 0), "accepted");
}

TEST_F(ListViewEventTest, InfoTipsComeFromTheRowRecords) {
  ListViewProperties p = song_list_properties();
  p.items = rows({"one", "two"});
  HWND list = create(p)->hwnd();
  NMLVGETINFOTIPA tip{};
  char buffer[6] = "xxxxx";
  tip.hdr.hwndFrom = list;
  tip.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list));
  tip.hdr.code = LVN_GETINFOTIPA;
  tip.pszText = buffer;
  tip.cchTextMax = sizeof buffer;
  tip.iItem = 1;
  SendMessageA(parent(), WM_NOTIFY, tip.hdr.idFrom, reinterpret_cast<LPARAM>(&tip));
  EXPECT_STREQ(buffer, "tip t") << "cut to the buffer";
  std::strcpy(buffer, "keep");
  tip.iItem = 2;  // no such row record
  SendMessageA(parent(), WM_NOTIFY, tip.hdr.idFrom, reinterpret_cast<LPARAM>(&tip));
  EXPECT_STREQ(buffer, "keep");
}

TEST_F(ListViewEventTest, HandlerThatDestroysTheListViewEndsTheClickQuietly) {
  ListViewProperties p = song_list_properties();
  p.check_boxes = true;
  p.items = rows({"one"});
  HWND list = create(p)->hwnd();
  const std::optional<POINT> box = check_box_point(list, 0);
  ASSERT_TRUE(box.has_value());
  reply = [list](const Raised& e) -> std::optional<std::uint32_t> {
    if (e.event == 4) DestroyWindow(list);
    return std::nullopt;
  };
  platform::headless::click(list, *box);
  idle();
  EXPECT_FALSE(IsWindow(list));
  EXPECT_EQ(last(8), nullptr);
}

}  // namespace
}  // namespace listview_test
