// What a person sees: row height, selection colours, header, grid lines; and a picture to review.
#include <filesystem>

#include "platform/api/dib_info.h"
#include "tests/platform/controls/listview_fixture.h"

namespace listview_test {
namespace {

namespace hl = platform::headless;

class ListViewLook : public ListViewTest {
 protected:
  COLORREF at(POINT p) { return hl::read_pixel(lv_, p.x, p.y); }
  // A point inside the row's highlight but left of its text.
  POINT label_margin(int row) {
    const RECT r = item_rect(row, LVIR_LABEL);
    return POINT{r.left + 1, (r.top + r.bottom) / 2};
  }
  void select_by_click(int row) {
    hl::click(lv_, on_label(row));
    idle();
    hl::advance_clock(1000);
  }
};

TEST_F(ListViewLook, RowsAreAsTallAsTheFontAsks) {
  make_list(LVS_REPORT);
  fill(3);
  const int h = item_rect(1).top - item_rect(0).top;
  EXPECT_GE(h, 16);
  EXPECT_LE(h, 17);
  EXPECT_EQ(item_rect(0).bottom - item_rect(0).top, h);
}

TEST_F(ListViewLook, SelectedRowIsHighlightedAndGreyWithoutFocus) {
  make_list(LVS_REPORT | LVS_SHOWSELALWAYS);
  fill(20);
  select_by_click(2);
  EXPECT_EQ(at(label_margin(2)), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(at(label_margin(3)), GetSysColor(COLOR_WINDOW));
  // Only the label is highlighted without full-row selection.
  const RECT sub = item_rect(2);
  EXPECT_EQ(at(POINT{sub.left + 260, (sub.top + sub.bottom) / 2}), GetSysColor(COLOR_WINDOW));
  SetFocus(parent_);
  idle();
  EXPECT_EQ(at(label_margin(2)), GetSysColor(COLOR_BTNFACE));
}

TEST_F(ListViewLook, SelectionDisappearsWithoutFocusUnlessShownAlways) {
  make_list(LVS_REPORT);
  fill(5);
  select_by_click(1);
  EXPECT_EQ(at(label_margin(1)), GetSysColor(COLOR_HIGHLIGHT));
  SetFocus(parent_);
  idle();
  EXPECT_EQ(at(label_margin(1)), GetSysColor(COLOR_WINDOW));
}

TEST_F(ListViewLook, FullRowSelectionAndGridLines) {
  make_list(LVS_REPORT);
  fill(5);
  SendMessageA(lv_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  select_by_click(1);
  const RECT row = item_rect(1);
  EXPECT_EQ(at(POINT{row.left + 260, (row.top + row.bottom) / 2}), GetSysColor(COLOR_HIGHLIGHT));
  const RECT other = item_rect(3);
  EXPECT_EQ(at(POINT{other.left + 150, other.bottom - 1}), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(at(POINT{other.left + 69, (other.top + other.bottom) / 2}), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(at(POINT{other.left + 150, (other.top + other.bottom) / 2 - 4}), GetSysColor(COLOR_WINDOW));
}

TEST_F(ListViewLook, HeaderIsButtonFaceAndGoesAwayWithNoColumnHeader) {
  make_list(LVS_REPORT);
  fill(3);
  EXPECT_EQ(at(POINT{60, 6}), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(at(POINT{200, 6}), GetSysColor(COLOR_BTNFACE)) << "the second column, right of its title";
  DestroyWindow(lv_);
  make_list(LVS_REPORT | LVS_NOCOLUMNHEADER);
  fill(3);
  EXPECT_EQ(at(POINT{60, 6}), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(item_rect(0).top, 0);
}

TEST_F(ListViewLook, ColoursComeFromTheOwner) {
  make_list(LVS_REPORT);
  fill(3);
  SendMessageA(lv_, LVM_SETBKCOLOR, 0, RGB(200, 220, 240));
  SendMessageA(lv_, LVM_SETTEXTBKCOLOR, 0, RGB(200, 220, 240));
  InvalidateRect(lv_, nullptr, TRUE);
  idle();
  const RECT last = item_rect(2);
  EXPECT_EQ(at(POINT{last.left + 5, last.bottom + 20}), RGB(200, 220, 240));
}

TEST_F(ListViewLook, PictureForReview) {
  make_list(LVS_REPORT | LVS_SHOWSELALWAYS);
  fill(40);
  SendMessageA(lv_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
               LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES | LVS_EX_GRIDLINES);
  select_by_click(2);
  hl::key_down(VK_CONTROL);
  hl::click(lv_, on_label(4));
  hl::key_up(VK_CONTROL);
  idle();
  const std::string path = ::testing::TempDir() + "listview_report.png";
  ASSERT_TRUE(hl::save_png(parent_, path));
  EXPECT_GT(std::filesystem::file_size(path), 1000u);
}

TEST_F(ListViewLook, OtherViewsLayItemsOutInGrids) {
  make_list(LVS_LIST);
  for (int i = 0; i < 40; ++i) insert_row(i, "item " + std::to_string(i));
  idle();
  const RECT a = item_rect(0);
  const RECT b = item_rect(1);
  EXPECT_EQ(b.left, a.left);
  EXPECT_EQ(b.top, a.bottom);
  const int per_column = static_cast<int>(SendMessageA(lv_, LVM_GETCOUNTPERPAGE, 0, 0));
  EXPECT_GT(per_column, 0);
  SetWindowLongA(lv_, GWL_STYLE,
                 (GetWindowLongA(lv_, GWL_STYLE) & ~static_cast<LONG>(LVS_TYPEMASK)) | LVS_ICON);
  idle();
  const RECT i0 = item_rect(0);
  const RECT i1 = item_rect(1);
  EXPECT_EQ(i1.top, i0.top);
  EXPECT_GT(i1.left, i0.left);
  LVHITTESTINFO hit{};
  hit.pt = POINT{(i1.left + i1.right) / 2, i1.top + 10};
  EXPECT_EQ(SendMessageA(lv_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
  EXPECT_EQ(hit.flags, LVHT_ONITEMICON);
  EXPECT_TRUE(hl::save_png(parent_, ::testing::TempDir() + "listview_icon.png"));
  SetWindowLongA(lv_, GWL_STYLE,
                 (GetWindowLongA(lv_, GWL_STYLE) & ~static_cast<LONG>(LVS_TYPEMASK)) | LVS_SMALLICON);
  idle();
  hl::click(lv_, POINT{item_rect(1).left + 6, (item_rect(1).top + item_rect(1).bottom) / 2});
  idle();
  EXPECT_EQ(selected(), (std::vector<int>{1}));
  const std::string path = ::testing::TempDir() + "listview_smallicon.png";
  EXPECT_TRUE(hl::save_png(parent_, path));
}

}  // namespace
}  // namespace listview_test

namespace listview_test {
namespace {

// A one-colour 16x16 image list.
HIMAGELIST solid_images(COLORREF colour, int count) {
  HIMAGELIST il = ImageList_Create(16, 16, ILC_COLOR32, count, 1);
  BITMAPINFO info = platform::top_down_dib_info(16 * count, 16);
  void* bits = nullptr;
  HBITMAP bm = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  auto* px = static_cast<std::uint32_t*>(bits);
  for (int i = 0; i < 16 * 16 * count; ++i)
    px[i] = 0xFF000000u | (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
  ImageList_Add(il, bm, nullptr);
  DeleteObject(bm);
  return il;
}

TEST_F(ListViewLook, ItemSubItemAndHeaderImagesAreDrawn) {
  make_list(LVS_REPORT | LVS_SHAREIMAGELISTS);
  fill(3);
  HIMAGELIST small = solid_images(RGB(0, 128, 0), 1);
  HIMAGELIST titles = solid_images(RGB(200, 0, 0), 1);
  SendMessageA(lv_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(small));
  SendMessageA(lv_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_SUBITEMIMAGES, LVS_EX_SUBITEMIMAGES);
  LVITEMA item{};
  item.mask = LVIF_IMAGE;
  item.iItem = 1;
  item.iImage = 0;
  SendMessageA(lv_, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  item.iSubItem = 1;
  SendMessageA(lv_, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  HWND header = reinterpret_cast<HWND>(SendMessageA(lv_, LVM_GETHEADER, 0, 0));
  SendMessageA(header, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(titles));
  LVCOLUMNA col{};
  col.mask = LVCF_FMT | LVCF_IMAGE;
  col.fmt = LVCFMT_LEFT | LVCFMT_IMAGE;
  col.iImage = 0;
  SendMessageA(lv_, LVM_SETCOLUMNA, 1, reinterpret_cast<LPARAM>(&col));
  idle();
  const RECT icon = item_rect(1, LVIR_ICON);
  EXPECT_EQ(icon.right - icon.left, 16);
  EXPECT_EQ(at(POINT{icon.left + 8, (icon.top + icon.bottom) / 2}), RGB(0, 128, 0));
  RECT sub{};
  sub.top = 1;
  sub.left = LVIR_ICON;
  SendMessageA(lv_, LVM_GETSUBITEMRECT, 1, reinterpret_cast<LPARAM>(&sub));
  EXPECT_EQ(at(POINT{sub.left + 8, (sub.top + sub.bottom) / 2}), RGB(0, 128, 0));
  // Rows without an image leave the icon place empty.
  const RECT other = item_rect(2, LVIR_ICON);
  EXPECT_EQ(at(POINT{other.left + 8, (other.top + other.bottom) / 2}), GetSysColor(COLOR_WINDOW));
  RECT title{};
  SendMessageA(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&title));
  EXPECT_EQ(hl::read_pixel(header, title.left + 6 + 8, (title.top + title.bottom) / 2), RGB(200, 0, 0));
  DestroyWindow(lv_);
  ImageList_Destroy(small);
  ImageList_Destroy(titles);
}

}  // namespace
}  // namespace listview_test
