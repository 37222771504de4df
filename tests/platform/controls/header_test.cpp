// The header of a report view: clicks, divider dragging, reordering and hiding.
#include "tests/platform/controls/listview_fixture.h"

namespace listview_test {
namespace {

namespace hl = platform::headless;

class HeaderTest : public ListViewTest {
 protected:
  HWND header() { return reinterpret_cast<HWND>(SendMessageA(lv_, LVM_GETHEADER, 0, 0)); }

  RECT header_item(int i) {
    RECT r{};
    SendMessageA(header(), HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    return r;
  }

  void drag(HWND w, POINT from, POINT to) {
    hl::mouse_move(w, from);
    hl::mouse_button(w, hl::Button::left, true, from);
    idle();
    hl::mouse_move(w, POINT{(from.x + to.x) / 2, to.y});
    idle();
    hl::mouse_move(w, to);
    hl::mouse_button(w, hl::Button::left, false, to);
    idle();
    hl::advance_clock(1000);
  }
};

TEST_F(HeaderTest, ClickingATitleReportsTheColumn) {
  make_list(LVS_REPORT);
  fill(10);
  ASSERT_TRUE(IsWindowVisible(header()));
  const RECT r = header_item(1);
  ASSERT_TRUE(hl::click(header(), POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}));
  idle();
  const auto clicks = of(LVN_COLUMNCLICK);
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0].subitem, 1);
  EXPECT_EQ(clicks[0].item, -1);
  EXPECT_EQ(clicks[0].from, lv_);
  // The header's own notification reaches the owner too.
  ASSERT_EQ(of(HDN_ITEMCLICKA).size(), 1u);
  EXPECT_EQ(of(HDN_ITEMCLICKA)[0].from, header());
}

TEST_F(HeaderTest, NoSortHeaderMeansNoColumnClicks) {
  make_list(LVS_REPORT | LVS_NOSORTHEADER);
  fill(10);
  const RECT r = header_item(0);
  ASSERT_TRUE(hl::click(header(), POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}));
  idle();
  EXPECT_TRUE(of(LVN_COLUMNCLICK).empty());
  EXPECT_FALSE(GetWindowLongA(header(), GWL_STYLE) & HDS_BUTTONS);
}

TEST_F(HeaderTest, DraggingADividerResizesTheColumn) {
  make_list(LVS_REPORT);
  fill(10);
  const RECT r = header_item(0);
  ASSERT_EQ(r.right, 70);
  drag(header(), POINT{r.right - 1, 5}, POINT{r.right + 49, 5});
  EXPECT_EQ(SendMessageA(lv_, LVM_GETCOLUMNWIDTH, 0, 0), 120);
  ASSERT_EQ(of(HDN_BEGINTRACKA).size(), 1u);
  ASSERT_EQ(of(HDN_ENDTRACKA).size(), 1u);
  EXPECT_EQ(of(HDN_ENDTRACKA)[0].width, 120);
  EXPECT_FALSE(of(HDN_ITEMCHANGEDA).empty());
  // The second column's cells moved with it.
  RECT sub{};
  sub.top = 1;
  sub.left = LVIR_BOUNDS;
  SendMessageA(lv_, LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&sub));
  EXPECT_EQ(sub.left, 120);
  EXPECT_TRUE(of(LVN_COLUMNCLICK).empty());
}

TEST_F(HeaderTest, DragAndDropReordersColumns) {
  make_list(LVS_REPORT);
  fill(3);
  SendMessageA(lv_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_HEADERDRAGDROP, LVS_EX_HEADERDRAGDROP);
  idle();
  EXPECT_TRUE(GetWindowLongA(header(), GWL_STYLE) & HDS_DRAGDROP);
  const RECT first = header_item(0);
  drag(header(), POINT{first.left + 20, 5}, POINT{first.left + 20 + 200, 5});
  int order[2] = {};
  ASSERT_TRUE(SendMessageA(lv_, LVM_GETCOLUMNORDERARRAY, 2, reinterpret_cast<LPARAM>(order)));
  EXPECT_EQ(order[0], 1);
  EXPECT_EQ(order[1], 0);
  EXPECT_EQ(of(HDN_ENDDRAG).size(), 1u);
  EXPECT_TRUE(of(LVN_COLUMNCLICK).empty());
  // Column 0 now sits right of column 1.
  EXPECT_EQ(item_rect(0, LVIR_LABEL).left, 200);
}

TEST_F(HeaderTest, HiddenHeaderLetsRowsStartAtTheTop) {
  make_list(LVS_REPORT);
  fill(3);
  const int shown_top = item_rect(0).top;
  EXPECT_GT(shown_top, 10);
  SetWindowLongA(lv_, GWL_STYLE, GetWindowLongA(lv_, GWL_STYLE) | static_cast<LONG>(LVS_NOCOLUMNHEADER));
  idle();
  EXPECT_FALSE(IsWindowVisible(header()));
  EXPECT_EQ(item_rect(0).top, 0);
}

TEST_F(HeaderTest, HeaderMessagesValidateIndexes) {
  make_list(LVS_REPORT);
  fill(1);
  HDITEMA hi{};
  hi.mask = HDI_WIDTH;
  EXPECT_FALSE(SendMessageA(header(), HDM_GETITEMA, 5, reinterpret_cast<LPARAM>(&hi)));
  EXPECT_FALSE(SendMessageA(header(), HDM_SETITEMA, 5, reinterpret_cast<LPARAM>(&hi)));
  EXPECT_FALSE(SendMessageA(header(), HDM_DELETEITEM, 5, 0));
  EXPECT_FALSE(SendMessageA(header(), HDM_GETITEMA, 0, 0));
  HDHITTESTINFO info{};
  info.pt = POINT{30, 5};
  EXPECT_EQ(SendMessageA(header(), HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)), 0);
  EXPECT_EQ(info.flags, HHT_ONHEADER);
  info.pt = POINT{69, 5};
  EXPECT_EQ(SendMessageA(header(), HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)), 0);
  EXPECT_EQ(info.flags, HHT_ONDIVIDER);
}

}  // namespace
}  // namespace listview_test
