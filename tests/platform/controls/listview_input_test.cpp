// The list view driven by injected mouse and keyboard input, as a person would use it.
#include "tests/platform/controls/listview_fixture.h"

namespace listview_test {
namespace {

namespace hl = platform::headless;

class ListViewInput : public ListViewTest {
 protected:
  void SetUp() override {
    ListViewTest::SetUp();
    make_list(LVS_REPORT | LVS_SHOWSELALWAYS);
    fill(1000);
  }

  void click(POINT p, hl::Button b = hl::Button::left) {
    ASSERT_TRUE(hl::click(lv_, p, b));
    idle();
    hl::advance_clock(1000);
  }

  void click_with(UINT vk, POINT p) {
    hl::key_down(vk);
    click(p);
    hl::key_up(vk);
    idle();
  }

  void key(UINT vk) {
    ASSERT_TRUE(hl::key_press(vk));
    idle();
  }
};

TEST_F(ListViewInput, ClickSelectsTheRowAndTellsTheOwner) {
  click(on_label(3));
  const auto changed = of(LVN_ITEMCHANGED);
  ASSERT_FALSE(changed.empty());
  EXPECT_EQ(changed.back().item, 3);
  EXPECT_EQ(changed.back().old_state & (LVIS_SELECTED | LVIS_FOCUSED), 0u);
  EXPECT_EQ(changed.back().new_state & (LVIS_SELECTED | LVIS_FOCUSED), LVIS_SELECTED | LVIS_FOCUSED);
  const auto clicks = of(NM_CLICK);
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0].item, 3);
  EXPECT_EQ(clicks[0].from, lv_);
  EXPECT_EQ(GetFocus(), lv_);
  EXPECT_EQ(of(NM_SETFOCUS).size(), 1u);

  notes().clear();
  click(on_label(5));
  EXPECT_EQ(selected(), (std::vector<int>{5}));
  bool deselected_3 = false;
  for (const Note& n : of(LVN_ITEMCHANGED))
    if (n.item == 3 && (n.old_state & LVIS_SELECTED) && !(n.new_state & LVIS_SELECTED)) deselected_3 = true;
  EXPECT_TRUE(deselected_3);
  // A click below the last visible row's column area selects nothing and clears the selection.
  notes().clear();
  const RECT row = item_rect(5);
  click(POINT{row.left + 300, (row.top + row.bottom) / 2});
  EXPECT_TRUE(selected().empty());
  ASSERT_EQ(of(NM_CLICK).size(), 1u);
  EXPECT_EQ(of(NM_CLICK)[0].item, -1);
}

TEST_F(ListViewInput, KeysMoveTheSelectionAndScrollItIntoView) {
  click(on_label(0));
  key(VK_DOWN);
  EXPECT_EQ(selected(), (std::vector<int>{1}));
  EXPECT_EQ(state(1), LVIS_SELECTED | LVIS_FOCUSED);
  const int page = per_page();
  ASSERT_GT(page, 3);
  key(VK_NEXT);
  EXPECT_EQ(selected(), (std::vector<int>{page - 1}));
  EXPECT_EQ(top(), 0);
  key(VK_NEXT);
  EXPECT_EQ(selected(), (std::vector<int>{2 * page - 2}));
  EXPECT_EQ(top(), page - 1);
  key(VK_END);
  EXPECT_EQ(selected(), (std::vector<int>{999}));
  EXPECT_EQ(top(), 1000 - page);
  key(VK_UP);
  EXPECT_EQ(selected(), (std::vector<int>{998}));
  key(VK_HOME);
  EXPECT_EQ(selected(), (std::vector<int>{0}));
  EXPECT_EQ(top(), 0);
  EXPECT_FALSE(of(LVN_KEYDOWN).empty());
  EXPECT_EQ(of(LVN_KEYDOWN).back().item, static_cast<int>(VK_HOME));
}

TEST_F(ListViewInput, EnterActivatesTheFocusedRow) {
  click(on_label(2));
  notes().clear();
  key(VK_RETURN);
  ASSERT_EQ(of(NM_RETURN).size(), 1u);
  ASSERT_EQ(of(LVN_ITEMACTIVATE).size(), 1u);
  EXPECT_EQ(of(LVN_ITEMACTIVATE)[0].item, 2);
}

TEST_F(ListViewInput, DoubleAndRightClicksNameTheRow) {
  ASSERT_TRUE(hl::double_click(lv_, on_label(4)));
  idle();
  const auto dbl = of(NM_DBLCLK);
  ASSERT_EQ(dbl.size(), 1u);
  EXPECT_EQ(dbl[0].item, 4);
  ASSERT_EQ(of(LVN_ITEMACTIVATE).size(), 1u);
  EXPECT_EQ(of(LVN_ITEMACTIVATE)[0].item, 4);
  hl::advance_clock(1000);
  notes().clear();
  const RECT row = item_rect(6);
  click(POINT{row.left + 100, (row.top + row.bottom) / 2}, hl::Button::right);
  const auto right = of(NM_RCLICK);
  ASSERT_EQ(right.size(), 1u);
  EXPECT_EQ(right[0].subitem, 1);
  EXPECT_EQ(right[0].item, -1);  // the second column is not the row without full-row selection
  SendMessageA(lv_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  notes().clear();
  click(POINT{row.left + 100, (row.top + row.bottom) / 2}, hl::Button::right);
  ASSERT_EQ(of(NM_RCLICK).size(), 1u);
  EXPECT_EQ(of(NM_RCLICK)[0].item, 6);
  EXPECT_EQ(selected(), (std::vector<int>{6}));
}

TEST_F(ListViewInput, ControlAndShiftBuildMultipleSelections) {
  click(on_label(2));
  click_with(VK_CONTROL, on_label(4));
  EXPECT_EQ(selected(), (std::vector<int>{2, 4}));
  click_with(VK_SHIFT, on_label(7));
  EXPECT_EQ(selected(), (std::vector<int>{4, 5, 6, 7}));
  click_with(VK_CONTROL, on_label(5));
  EXPECT_EQ(selected(), (std::vector<int>{4, 6, 7}));
  hl::key_down(VK_SHIFT);
  key(VK_DOWN);
  hl::key_up(VK_SHIFT);
  idle();
  EXPECT_EQ(selected(), (std::vector<int>{5, 6}));
  hl::key_down(VK_CONTROL);
  key('A');
  hl::key_up(VK_CONTROL);
  idle();
  EXPECT_EQ(SendMessageA(lv_, LVM_GETSELECTEDCOUNT, 0, 0), 1000);
}

TEST_F(ListViewInput, SingleSelectionIgnoresModifiers) {
  DestroyWindow(lv_);
  make_list(LVS_REPORT | LVS_SINGLESEL);
  fill(20);
  click(on_label(2));
  click_with(VK_CONTROL, on_label(4));
  EXPECT_EQ(selected(), (std::vector<int>{4}));
  click_with(VK_SHIFT, on_label(8));
  EXPECT_EQ(selected(), (std::vector<int>{8}));
  hl::key_down(VK_CONTROL);
  key('A');
  hl::key_up(VK_CONTROL);
  EXPECT_EQ(selected(), (std::vector<int>{8}));
}

TEST_F(ListViewInput, WheelAndScrollBarMoveTheTopRow) {
  SetFocus(lv_);  // the wheel goes to the focus window
  const RECT first = item_rect(0);
  ASSERT_TRUE(hl::wheel(lv_, POINT{first.left + 20, first.top + 20}, -WHEEL_DELTA));
  idle();
  EXPECT_EQ(top(), 3);
  ASSERT_TRUE(hl::wheel(lv_, POINT{first.left + 20, first.top + 20}, WHEEL_DELTA));
  idle();
  EXPECT_EQ(top(), 0);

  // The vertical bar sits right of the client area: its lower arrow, then the track.
  RECT client{};
  GetClientRect(lv_, &client);
  EXPECT_TRUE(GetWindowLongA(lv_, GWL_STYLE) & WS_VSCROLL);
  click(POINT{client.right + 8, client.bottom - 6});
  EXPECT_EQ(top(), 1);
  click(POINT{client.right + 8, client.bottom - 40});
  EXPECT_EQ(top(), 1 + per_page());
  SCROLLINFO si{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  ASSERT_TRUE(GetScrollInfo(lv_, SB_VERT, &si));
  EXPECT_EQ(si.nMax, 999);
  EXPECT_EQ(si.nPos, top());
  EXPECT_EQ(static_cast<int>(si.nPage), per_page());
  // Dragging the thumb to the bottom reaches the last page.
  SendMessageA(lv_, LVM_ENSUREVISIBLE, 0, FALSE);
  idle();
  EXPECT_EQ(top(), 0);
  const POINT thumb{client.right + 8, client.top + 17 + 3};
  hl::mouse_move(lv_, thumb);
  hl::mouse_button(lv_, hl::Button::left, true, thumb);
  hl::mouse_move(lv_, POINT{thumb.x, client.bottom + 40});
  hl::mouse_button(lv_, hl::Button::left, false, POINT{thumb.x, client.bottom + 40});
  idle();
  EXPECT_EQ(top(), 1000 - per_page());
}

TEST_F(ListViewInput, CheckBoxesToggleByClickAndSpace) {
  SendMessageA(lv_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
  idle();
  notes().clear();
  const RECT row = item_rect(2);
  click(POINT{row.left + 8, (row.top + row.bottom) / 2});
  EXPECT_EQ(state(2, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(2));
  bool told = false;
  for (const Note& n : of(LVN_ITEMCHANGED))
    if (n.item == 2 && n.old_state == INDEXTOSTATEIMAGEMASK(1) && n.new_state == INDEXTOSTATEIMAGEMASK(2))
      told = true;
  EXPECT_TRUE(told);
  ASSERT_EQ(of(NM_CLICK).size(), 1u);
  LVHITTESTINFO hit{};
  hit.pt = of(NM_CLICK)[0].at;
  EXPECT_EQ(SendMessageA(lv_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 2);
  EXPECT_EQ(hit.flags, LVHT_ONITEMSTATEICON);

  click(on_label(2));
  key(VK_SPACE);
  EXPECT_EQ(state(2, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(1));
  key(VK_SPACE);
  EXPECT_EQ(state(2, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(2));
}

TEST_F(ListViewInput, FocusNotificationsFollowTheKeyboardFocus) {
  click(on_label(1));
  EXPECT_EQ(of(NM_SETFOCUS).size(), 1u);
  SetFocus(parent_);
  idle();
  EXPECT_EQ(of(NM_KILLFOCUS).size(), 1u);
}

TEST_F(ListViewInput, InfoTipAsksTheOwnerAndShowsThePopup) {
  SendMessageA(lv_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_INFOTIP, LVS_EX_INFOTIP);
  answers().info_tip = "tip for the row";
  hl::mouse_move(lv_, on_label(3));
  idle();
  Sleep(500);
  idle();
  const auto asked = of(LVN_GETINFOTIPA);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].item, 3);
  HWND tip = FindWindowA("SysListViewInfoTip", nullptr);
  ASSERT_NE(tip, nullptr);
  EXPECT_TRUE(IsWindowVisible(tip));
  char buf[64] = {};
  GetWindowTextA(tip, buf, sizeof(buf));
  EXPECT_STREQ(buf, "tip for the row");
  // Clicking hides it.
  click(on_label(3));
  EXPECT_FALSE(IsWindowVisible(tip));
}

TEST_F(ListViewInput, InfoTipOffersACutLabelInFull) {
  SendMessageA(lv_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_INFOTIP, LVS_EX_INFOTIP);
  ASSERT_TRUE(set_text(2, 0, "a label far too long for a seventy pixel column"));
  answers().info_tip.clear();
  hl::mouse_move(lv_, on_label(2));
  idle();
  Sleep(500);
  idle();
  ASSERT_EQ(of(LVN_GETINFOTIPA).size(), 1u);
  HWND tip = FindWindowA("SysListViewInfoTip", nullptr);
  ASSERT_NE(tip, nullptr);
  EXPECT_TRUE(IsWindowVisible(tip));
  char buf[80] = {};
  GetWindowTextA(tip, buf, sizeof(buf));
  EXPECT_STREQ(buf, "a label far too long for a seventy pixel column");
}

TEST_F(ListViewInput, HotTrackingReportsTheRowUnderTheMouse) {
  SendMessageA(lv_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_ONECLICKACTIVATE | LVS_EX_UNDERLINEHOT);
  hl::mouse_move(lv_, on_label(4));
  idle();
  const auto hot = of(LVN_HOTTRACK);
  ASSERT_FALSE(hot.empty());
  EXPECT_EQ(hot.back().item, 4);
  EXPECT_EQ(SendMessageA(lv_, LVM_GETHOTITEM, 0, 0), 4);
  EXPECT_EQ(hl::shown_cursor(), LoadCursorA(nullptr, IDC_HAND));
  click(on_label(4));
  ASSERT_EQ(of(LVN_ITEMACTIVATE).size(), 1u);
  EXPECT_EQ(of(LVN_ITEMACTIVATE)[0].item, 4);
}

}  // namespace
}  // namespace listview_test

namespace listview_test {
namespace {

TEST_F(ListViewInput, TwoClickActivationNeedsAnAlreadySelectedRow) {
  SendMessageA(lv_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_TWOCLICKACTIVATE, LVS_EX_TWOCLICKACTIVATE);
  click(on_label(3));
  EXPECT_TRUE(of(LVN_ITEMACTIVATE).empty());
  click(on_label(3));
  ASSERT_EQ(of(LVN_ITEMACTIVATE).size(), 1u);
  EXPECT_EQ(of(LVN_ITEMACTIVATE)[0].item, 3);
}

TEST_F(ListViewInput, TrackSelectSelectsTheRowTheMouseRestsOn) {
  SendMessageA(lv_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_TRACKSELECT, LVS_EX_TRACKSELECT);
  platform::headless::mouse_move(lv_, on_label(5));
  idle();
  EXPECT_TRUE(selected().empty());
  Sleep(500);
  idle();
  EXPECT_EQ(selected(), (std::vector<int>{5}));
  EXPECT_EQ(state(5), LVIS_SELECTED | LVIS_FOCUSED);
}

}  // namespace
}  // namespace listview_test
