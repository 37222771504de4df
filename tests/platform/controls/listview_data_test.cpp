// Rows, cells, columns, states and their notifications, driven by messages alone.
#include <algorithm>

#include "tests/platform/controls/listview_fixture.h"

namespace listview_test {
namespace {

TEST_F(ListViewTest, ThousandRowsReadBackWithTruncatingBuffers) {
  make_list(LVS_REPORT);
  add_column(0, "Id", 70);
  add_column(1, "Address", 200);
  for (int i = 0; i < 1000; ++i) {
    ASSERT_EQ(insert_row(i, "row " + std::to_string(i)), i);
    ASSERT_TRUE(set_text(i, 1, "addr " + std::to_string(i)));
  }
  EXPECT_EQ(SendMessageA(lv_, LVM_GETITEMCOUNT, 0, 0), 1000);
  EXPECT_EQ(text(500, 0), "row 500");
  EXPECT_EQ(text(999, 1), "addr 999");
  // A small buffer gets the front of the text, NUL-terminated, and the copied length.
  char small[4] = {'x', 'x', 'x', 'x'};
  LVITEMA item{};
  item.iSubItem = 1;
  item.pszText = small;
  item.cchTextMax = 4;
  EXPECT_EQ(SendMessageA(lv_, LVM_GETITEMTEXTA, 12, reinterpret_cast<LPARAM>(&item)), 3);
  EXPECT_STREQ(small, "add");
  const auto inserted = of(LVN_INSERTITEM);
  ASSERT_EQ(inserted.size(), 1000u);
  EXPECT_EQ(inserted[999].item, 999);
  EXPECT_EQ(inserted[0].from, lv_);
}

TEST_F(ListViewTest, BadIndexesFailAndChangeNothing) {
  make_list(LVS_REPORT);
  fill(3);
  EXPECT_FALSE(set_text(3, 0, "nope"));
  EXPECT_FALSE(set_text(0, 2, "no such column"));
  EXPECT_FALSE(set_text(-1, 0, "nope"));
  EXPECT_EQ(text(7, 0), "");
  EXPECT_EQ(text(0, 5), "");
  LVITEMA sub{};
  sub.mask = LVIF_TEXT;
  sub.iSubItem = 1;
  sub.pszText = const_cast<LPSTR>("x");
  EXPECT_EQ(SendMessageA(lv_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&sub)), -1);
  EXPECT_EQ(SendMessageA(lv_, LVM_INSERTITEMA, 0, 0), -1);
  EXPECT_FALSE(SendMessageA(lv_, LVM_GETITEMA, 0, 0));
  EXPECT_FALSE(SendMessageA(lv_, LVM_DELETEITEM, 3, 0));
  EXPECT_EQ(SendMessageA(lv_, LVM_GETITEMCOUNT, 0, 0), 3);
  // Inserting far past the end appends.
  EXPECT_EQ(insert_row(50, "tail"), 3);
  EXPECT_EQ(text(3, 0), "tail");
}

TEST_F(ListViewTest, ItemFieldsRoundTrip) {
  make_list(LVS_REPORT);
  fill(2);
  LVITEMA set{};
  set.mask = LVIF_IMAGE | LVIF_PARAM | LVIF_INDENT | LVIF_STATE;
  set.iItem = 1;
  set.iImage = 4;
  set.lParam = 0x1234;
  set.iIndent = 2;
  set.state = INDEXTOSTATEIMAGEMASK(2) | LVIS_CUT;
  set.stateMask = LVIS_STATEIMAGEMASK | LVIS_CUT;
  ASSERT_TRUE(SendMessageA(lv_, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&set)));
  char buf[32];
  LVITEMA get{};
  get.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_INDENT | LVIF_STATE;
  get.iItem = 1;
  get.stateMask = 0xFFFF;
  get.pszText = buf;
  get.cchTextMax = sizeof(buf);
  ASSERT_TRUE(SendMessageA(lv_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&get)));
  EXPECT_STREQ(buf, "row 1");
  EXPECT_EQ(get.iImage, 4);
  EXPECT_EQ(get.lParam, 0x1234);
  EXPECT_EQ(get.iIndent, 2);
  EXPECT_EQ(get.state, INDEXTOSTATEIMAGEMASK(2) | LVIS_CUT);
}

TEST_F(ListViewTest, DeleteAllNotifiesOnceOrPerRowAsTheOwnerAsks) {
  make_list(LVS_REPORT);
  fill(5);
  EXPECT_TRUE(SendMessageA(lv_, LVM_DELETEITEM, 1, 0));
  ASSERT_EQ(of(LVN_DELETEITEM).size(), 1u);
  EXPECT_EQ(text(1, 0), "row 2");
  notes().clear();
  EXPECT_TRUE(SendMessageA(lv_, LVM_DELETEALLITEMS, 0, 0));
  EXPECT_EQ(of(LVN_DELETEALLITEMS).size(), 1u);
  EXPECT_EQ(of(LVN_DELETEITEM).size(), 4u);
  EXPECT_EQ(SendMessageA(lv_, LVM_GETITEMCOUNT, 0, 0), 0);

  fill(3);
  answers().delete_all = TRUE;
  SendMessageA(lv_, LVM_DELETEALLITEMS, 0, 0);
  EXPECT_EQ(of(LVN_DELETEALLITEMS).size(), 1u);
  EXPECT_TRUE(of(LVN_DELETEITEM).empty());
  EXPECT_EQ(SendMessageA(lv_, LVM_GETITEMCOUNT, 0, 0), 0);
}

TEST_F(ListViewTest, SortedStylesPlaceRowsAndKeepInsertionOrderOfEquals) {
  make_list(LVS_REPORT | LVS_SORTASCENDING);
  add_column(0, "Name", 100);
  insert_row(0, "pear", 1);
  insert_row(0, "Apple", 2);
  insert_row(0, "fig", 3);
  insert_row(0, "apple", 4);
  EXPECT_EQ(text(0, 0), "Apple");
  EXPECT_EQ(text(1, 0), "apple");
  EXPECT_EQ(text(2, 0), "fig");
  EXPECT_EQ(text(3, 0), "pear");
  DestroyWindow(lv_);

  make_list(LVS_REPORT | LVS_SORTDESCENDING);
  add_column(0, "Name", 100);
  insert_row(0, "b");
  insert_row(0, "c");
  insert_row(0, "a");
  EXPECT_EQ(text(0, 0), "c");
  EXPECT_EQ(text(2, 0), "a");
}

TEST_F(ListViewTest, StatesSelectionAndNextItem) {
  make_list(LVS_REPORT | LVS_SHOWSELALWAYS);
  fill(10);
  LVITEMA st{};
  st.stateMask = LVIS_SELECTED;
  st.state = LVIS_SELECTED;
  ASSERT_TRUE(SendMessageA(lv_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&st)));
  EXPECT_EQ(SendMessageA(lv_, LVM_GETSELECTEDCOUNT, 0, 0), 10);
  st.state = 0;
  SendMessageA(lv_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&st));
  EXPECT_EQ(SendMessageA(lv_, LVM_GETSELECTEDCOUNT, 0, 0), 0);
  notes().clear();

  st.state = st.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(lv_, LVM_SETITEMSTATE, 4, reinterpret_cast<LPARAM>(&st));
  const auto changed = of(LVN_ITEMCHANGED);
  ASSERT_EQ(changed.size(), 1u);
  EXPECT_EQ(changed[0].item, 4);
  EXPECT_EQ(changed[0].old_state, 0u);
  EXPECT_EQ(changed[0].new_state, LVIS_SELECTED | LVIS_FOCUSED);
  EXPECT_EQ(changed[0].changed, LVIF_STATE);
  EXPECT_EQ(SendMessageA(lv_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 4);
  // Focus is unique: focusing 7 takes it from 4.
  st.state = st.stateMask = LVIS_FOCUSED;
  SendMessageA(lv_, LVM_SETITEMSTATE, 7, reinterpret_cast<LPARAM>(&st));
  EXPECT_EQ(state(4), LVIS_SELECTED);
  EXPECT_EQ(state(7), LVIS_FOCUSED);
  EXPECT_EQ(SendMessageA(lv_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 4);
  EXPECT_EQ(SendMessageA(lv_, LVM_GETNEXTITEM, 4, LVNI_SELECTED), -1);
  EXPECT_EQ(SendMessageA(lv_, LVM_GETNEXTITEM, 4, LVNI_ALL), 5);
  EXPECT_EQ(SendMessageA(lv_, LVM_GETNEXTITEM, 4, LVNI_ABOVE), 3);
  EXPECT_EQ(SendMessageA(lv_, LVM_GETNEXTITEM, 9, LVNI_BELOW), -1);

  // An owner can veto a change.
  answers().item_changing = TRUE;
  st.state = st.stateMask = LVIS_SELECTED;
  EXPECT_FALSE(SendMessageA(lv_, LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&st)));
  EXPECT_EQ(state(2), 0u);
}

TEST_F(ListViewTest, SingleSelectionKeepsOneRowSelected) {
  make_list(LVS_REPORT | LVS_SINGLESEL);
  fill(10);
  LVITEMA st{};
  st.state = st.stateMask = LVIS_SELECTED;
  SendMessageA(lv_, LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&st));
  SendMessageA(lv_, LVM_SETITEMSTATE, 5, reinterpret_cast<LPARAM>(&st));
  EXPECT_EQ(selected(), (std::vector<int>{5}));
}

TEST_F(ListViewTest, ColumnsReadWriteDeleteAndOrder) {
  make_list(LVS_REPORT);
  fill(3);
  add_column(2, "Third", 50, LVCFMT_RIGHT);
  ASSERT_TRUE(set_text(0, 2, "c0"));
  char buf[4];
  LVCOLUMNA col{};
  col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_ORDER;
  col.pszText = buf;
  col.cchTextMax = sizeof(buf);
  ASSERT_TRUE(SendMessageA(lv_, LVM_GETCOLUMNA, 1, reinterpret_cast<LPARAM>(&col)));
  EXPECT_STREQ(buf, "Add");
  EXPECT_EQ(col.cx, 200);
  EXPECT_EQ(col.iOrder, 1);
  ASSERT_TRUE(SendMessageA(lv_, LVM_GETCOLUMNA, 2, reinterpret_cast<LPARAM>(&col)));
  EXPECT_EQ(col.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_RIGHT);
  EXPECT_FALSE(SendMessageA(lv_, LVM_GETCOLUMNA, 3, reinterpret_cast<LPARAM>(&col)));

  EXPECT_TRUE(SendMessageA(lv_, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(123, 0)));
  EXPECT_EQ(SendMessageA(lv_, LVM_GETCOLUMNWIDTH, 1, 0), 123);
  HWND header = reinterpret_cast<HWND>(SendMessageA(lv_, LVM_GETHEADER, 0, 0));
  ASSERT_NE(header, nullptr);
  HDITEMA hi{};
  hi.mask = HDI_WIDTH;
  SendMessageA(header, HDM_GETITEMA, 1, reinterpret_cast<LPARAM>(&hi));
  EXPECT_EQ(hi.cxy, 123);

  int order[3] = {2, 0, 1};
  EXPECT_TRUE(SendMessageA(lv_, LVM_SETCOLUMNORDERARRAY, 3, reinterpret_cast<LPARAM>(order)));
  int back[3] = {};
  EXPECT_TRUE(SendMessageA(lv_, LVM_GETCOLUMNORDERARRAY, 3, reinterpret_cast<LPARAM>(back)));
  EXPECT_EQ(std::vector<int>(back, back + 3), std::vector<int>(order, order + 3));
  int bad[3] = {0, 0, 1};
  EXPECT_FALSE(SendMessageA(lv_, LVM_SETCOLUMNORDERARRAY, 3, reinterpret_cast<LPARAM>(bad)));
  EXPECT_EQ(SendMessageA(header, HDM_ORDERTOINDEX, 0, 0), 2);

  // Deleting a column drops its cells; the later column's cells move down.
  EXPECT_TRUE(SendMessageA(lv_, LVM_DELETECOLUMN, 1, 0));
  EXPECT_EQ(text(0, 1), "c0");
  EXPECT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 2);
}

TEST_F(ListViewTest, AutosizeFitsTheWidestCell) {
  make_list(LVS_REPORT);
  fill(3);
  set_text(1, 1, "a much longer address than the others, long enough");
  ASSERT_TRUE(SendMessageA(lv_, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(static_cast<WORD>(LVSCW_AUTOSIZE), 0)));
  const int wide = static_cast<int>(SendMessageA(lv_, LVM_GETCOLUMNWIDTH, 1, 0));
  const int text_w = static_cast<int>(
      SendMessageA(lv_, LVM_GETSTRINGWIDTHA, 0,
                   reinterpret_cast<LPARAM>("a much longer address than the others, long enough")));
  EXPECT_GT(text_w, 100);
  EXPECT_GE(wide, text_w);
  EXPECT_LE(wide, text_w + 20);
}

TEST_F(ListViewTest, HitTestsFindRowsSubItemsAndNothing) {
  make_list(LVS_REPORT);
  fill(20);
  LVHITTESTINFO hit{};
  hit.pt = on_label(3);
  EXPECT_EQ(SendMessageA(lv_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 3);
  EXPECT_EQ(hit.flags, LVHT_ONITEMLABEL);
  // The second column: a sub-item hit, but not an item hit without full-row selection.
  const RECT row = item_rect(3);
  hit.pt = POINT{row.left + 100, (row.top + row.bottom) / 2};
  EXPECT_EQ(SendMessageA(lv_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
  EXPECT_EQ(hit.flags, LVHT_NOWHERE);
  EXPECT_EQ(SendMessageA(lv_, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 3);
  EXPECT_EQ(hit.iSubItem, 1);
  SendMessageA(lv_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  EXPECT_EQ(SendMessageA(lv_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 3);
  // Right of the last column and above the window.
  hit.pt = POINT{row.left + 300, (row.top + row.bottom) / 2};
  EXPECT_EQ(SendMessageA(lv_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
  hit.pt = POINT{5, -5};
  EXPECT_EQ(SendMessageA(lv_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
  EXPECT_TRUE(hit.flags & LVHT_ABOVE);
}

int CALLBACK by_param_descending(LPARAM a, LPARAM b, LPARAM) {
  return a < b ? 1 : a > b ? -1 : 0;
}

TEST_F(ListViewTest, SortItemsUsesTheComparatorAndKeepsTheFocusedRow) {
  make_list(LVS_REPORT);
  fill(5);
  LVITEMA st{};
  st.state = st.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
  SendMessageA(lv_, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&st));
  ASSERT_TRUE(SendMessageA(lv_, LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(&by_param_descending)));
  EXPECT_EQ(text(0, 0), "row 4");
  EXPECT_EQ(text(4, 1), "addr 0");
  EXPECT_EQ(SendMessageA(lv_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 3);
}

TEST_F(ListViewTest, ExtendedStylesUseTheMask) {
  make_list(LVS_REPORT);
  EXPECT_EQ(SendMessageA(lv_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES), 0);
  EXPECT_EQ(SendMessageA(lv_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES, 0),
            static_cast<LRESULT>(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES));
  EXPECT_EQ(SendMessageA(lv_, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0),
            static_cast<LRESULT>(LVS_EX_FULLROWSELECT));
  SendMessageA(lv_, LVM_SETTEXTCOLOR, 0, RGB(1, 2, 3));
  SendMessageA(lv_, LVM_SETTEXTBKCOLOR, 0, CLR_NONE);
  SendMessageA(lv_, LVM_SETBKCOLOR, 0, RGB(9, 9, 9));
  EXPECT_EQ(static_cast<COLORREF>(SendMessageA(lv_, LVM_GETTEXTCOLOR, 0, 0)), RGB(1, 2, 3));
  EXPECT_EQ(static_cast<COLORREF>(SendMessageA(lv_, LVM_GETTEXTBKCOLOR, 0, 0)), CLR_NONE);
  EXPECT_EQ(static_cast<COLORREF>(SendMessageA(lv_, LVM_GETBKCOLOR, 0, 0)), RGB(9, 9, 9));
}

TEST_F(ListViewTest, CheckBoxStyleGivesEveryRowAnUncheckedBox) {
  make_list(LVS_REPORT);
  fill(3);
  SendMessageA(lv_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
  EXPECT_EQ(state(0, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(1));
  insert_row(3, "new");
  EXPECT_EQ(state(3, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(1));
  HIMAGELIST boxes = reinterpret_cast<HIMAGELIST>(SendMessageA(lv_, LVM_GETIMAGELIST, LVSIL_STATE, 0));
  EXPECT_EQ(ImageList_GetImageCount(boxes), 2);
}

}  // namespace
}  // namespace listview_test

namespace listview_test {
namespace {

TEST_F(ListViewTest, FontDecidesRowHeightAndReachesTheHeader) {
  make_list(LVS_REPORT);
  fill(5);
  const int normal = item_rect(1).top - item_rect(0).top;
  HFONT big = CreateFontA(-24, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
  ASSERT_NE(big, nullptr);
  SendMessageA(lv_, WM_SETFONT, reinterpret_cast<WPARAM>(big), TRUE);
  idle();
  const int tall = item_rect(1).top - item_rect(0).top;
  EXPECT_GE(tall, 27);
  EXPECT_GT(tall, normal);
  EXPECT_EQ(SendMessageA(lv_, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(big));
  HWND header = reinterpret_cast<HWND>(SendMessageA(lv_, LVM_GETHEADER, 0, 0));
  EXPECT_EQ(SendMessageA(header, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(big));
  EXPECT_GE(item_rect(0).top, 24);  // the taller header pushed the rows down
  DestroyWindow(lv_);
  DeleteObject(big);
}

TEST_F(ListViewTest, ScrollMessagesMoveRowsAndTheHeaderTogether) {
  make_list(LVS_REPORT);
  fill(100);
  add_column(2, "Wide", 400);
  idle();
  EXPECT_TRUE(GetWindowLongA(lv_, GWL_STYLE) & WS_HSCROLL);
  const int page = per_page();
  RECT client{};
  GetClientRect(lv_, &client);
  EXPECT_EQ(page, (client.bottom - item_rect(0).top) / (item_rect(1).top - item_rect(0).top));
  EXPECT_TRUE(SendMessageA(lv_, LVM_ENSUREVISIBLE, 50, FALSE));
  EXPECT_EQ(top(), 50 - page + 1);
  EXPECT_TRUE(SendMessageA(lv_, LVM_ENSUREVISIBLE, 10, FALSE));
  EXPECT_EQ(top(), 10);
  // Report view scrolls in whole rows: a part of a row counts as one.
  EXPECT_TRUE(SendMessageA(lv_, LVM_SCROLL, 0, 3));
  EXPECT_EQ(top(), 11);
  EXPECT_TRUE(SendMessageA(lv_, LVM_SCROLL, 0, -10000));
  EXPECT_EQ(top(), 0);
  EXPECT_TRUE(SendMessageA(lv_, LVM_SCROLL, 50, 0));
  idle();
  EXPECT_EQ(item_rect(0).left, -50);
  HWND header = reinterpret_cast<HWND>(SendMessageA(lv_, LVM_GETHEADER, 0, 0));
  POINT origin{0, 0};
  MapWindowPoints(header, lv_, &origin, 1);
  EXPECT_EQ(origin.x, -50);
  EXPECT_EQ(GetScrollPos(lv_, SB_HORZ), 50);
}

}  // namespace
}  // namespace listview_test
