// Creating list views: styles from the properties, columns, rows from item records, image
// lists, colours, fonts and the border.
#include <gtest/gtest.h>

#include "platform/api/gdi.h"
#include "platform/api/input.h"
#include "platform/api/listview.h"
#include "platform/api/user.h"
#include "tests/ui/listview/listview_fixture.h"

namespace listview_test {
namespace {

using ui::listview::ItemRecord;
using ui::listview::ListViewProperties;

DWORD style_of(HWND hwnd) {
  return static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
}

DWORD list_ex_style(HWND hwnd) {
  return static_cast<DWORD>(SendMessageA(hwnd, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
}

// An image list blob: the mark, four skipped bytes, then the platform stream of `count`
// 16x16 images.
std::vector<std::uint8_t> image_blob(int count) {
  HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32, count, 1);
  ImageList_SetImageCount(images, static_cast<UINT>(count));
  const SIZE_T size = ImageList_WriteToMemory(images, nullptr, 0);
  std::vector<std::uint8_t> blob = {'M', 'I', 'T', 'L', 0, 0, 0, 0};
  blob.resize(8 + size);
  ImageList_WriteToMemory(images, blob.data() + 8, size);
  ImageList_Destroy(images);
  return blob;
}

using ListViewCreationTest = ListViewTest;

TEST_F(ListViewCreationTest, SongListHasItsColumnsAndReportStyles) {
  ui::listview::ListViewUnit* unit = create(song_list_properties());
  ASSERT_NE(unit, nullptr);
  HWND list = unit->hwnd();
  char class_name[32] = {};
  GetClassNameA(list, class_name, sizeof class_name);
  EXPECT_STREQ(class_name, "SysListView32");
  EXPECT_EQ(SendMessageA(list, ui::kMsgGetUnitObject, 0, 0), reinterpret_cast<LRESULT>(unit));
  const DWORD style = style_of(list);
  EXPECT_EQ(style & 0x46000000u, 0x46000000u);
  EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
  EXPECT_TRUE(style & LVS_SINGLESEL);
  EXPECT_TRUE(style & LVS_NOSORTHEADER);
  EXPECT_FALSE(style & LVS_NOCOLUMNHEADER);
  EXPECT_FALSE(style & LVS_AUTOARRANGE) << "arranging belongs to the icon views";
  EXPECT_TRUE(style & WS_BORDER) << "border 5 is a single line";
  EXPECT_FALSE(GetWindowLongA(list, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_EQ(list_ex_style(list), LVS_EX_FULLROWSELECT | LVS_EX_SUBITEMIMAGES | LVS_EX_INFOTIP);

  char title[32] = {};
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  column.pszText = title;
  column.cchTextMax = sizeof title;
  ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMNA, 0, reinterpret_cast<LPARAM>(&column)));
  EXPECT_STREQ(title,
               "\xB8\xE8\xC7\xFA"
               "ID");
  EXPECT_EQ(column.cx, 70);
  EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
  ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMNA, 1, reinterpret_cast<LPARAM>(&column)));
  EXPECT_STREQ(title, "\xB8\xE8\xB4\xCA\xB5\xD8\xD6\xB7");
  EXPECT_EQ(column.cx, 280);
  EXPECT_FALSE(SendMessageA(list, LVM_GETCOLUMNA, 2, reinterpret_cast<LPARAM>(&column)));
  EXPECT_EQ(row_count(list), 0);
}

TEST_F(ListViewCreationTest, HeaderStyleRules) {
  ListViewProperties clickable = song_list_properties();
  clickable.header_clickable = true;
  clickable.header_drag_drop = true;
  HWND with_sort = create(clickable, 0x16010001)->hwnd();
  EXPECT_FALSE(style_of(with_sort) & (LVS_NOSORTHEADER | LVS_NOCOLUMNHEADER));
  EXPECT_TRUE(list_ex_style(with_sort) & LVS_EX_HEADERDRAGDROP);

  // Hiding the header wins over whatever HeaderClickable says, and drag and drop goes with it.
  for (bool header_clickable : {false, true}) {
    ListViewProperties hidden = clickable;
    hidden.hide_header = true;
    hidden.header_clickable = header_clickable;
    HWND list = create(hidden, 0x16010002 + header_clickable)->hwnd();
    EXPECT_TRUE(style_of(list) & LVS_NOCOLUMNHEADER);
    EXPECT_FALSE(style_of(list) & LVS_NOSORTHEADER);
    EXPECT_FALSE(list_ex_style(list) & LVS_EX_HEADERDRAGDROP);
  }

  // Outside report view the header rules do not apply at all.
  ListViewProperties icons = clickable;
  icons.view = ui::listview::kLargeIcons;
  icons.header_clickable = false;
  icons.full_row_select = true;
  HWND icon_list = create(icons, 0x16010004)->hwnd();
  EXPECT_EQ(style_of(icon_list) & (LVS_TYPEMASK | LVS_NOSORTHEADER), LVS_ICON);
  EXPECT_TRUE(style_of(icon_list) & LVS_AUTOARRANGE);
  EXPECT_FALSE(list_ex_style(icon_list) & (LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP));
}

TEST_F(ListViewCreationTest, StyleFlagsFollowTheirProperties) {
  ListViewProperties p;
  p.view = ui::listview::kSmallIcons;
  p.alignment = 1;
  p.auto_arrange = false;
  p.wrap_labels = false;
  p.edit_labels = true;
  p.sort_order = 2;
  p.single_selection = false;
  p.show_selection_always = true;
  p.hot_tracking = true;
  p.underline_hot = false;
  p.check_boxes = true;
  p.flat_scroll_bars = true;
  p.border = 3;
  HWND list = create(p)->hwnd();
  const DWORD style = style_of(list);
  EXPECT_EQ(style & LVS_TYPEMASK, LVS_SMALLICON);
  EXPECT_EQ(style & (LVS_ALIGNLEFT | LVS_AUTOARRANGE | LVS_NOLABELWRAP | LVS_EDITLABELS | LVS_SORTASCENDING |
                     LVS_SORTDESCENDING | LVS_SINGLESEL | LVS_SHOWSELALWAYS),
            LVS_ALIGNLEFT | LVS_NOLABELWRAP | LVS_EDITLABELS | LVS_SORTDESCENDING | LVS_SHOWSELALWAYS);
  EXPECT_EQ(list_ex_style(list), LVS_EX_TRACKSELECT | LVS_EX_ONECLICKACTIVATE | LVS_EX_UNDERLINECOLD |
                                     LVS_EX_CHECKBOXES | LVS_EX_FLATSB | LVS_EX_SUBITEMIMAGES |
                                     LVS_EX_INFOTIP);
  EXPECT_EQ(GetWindowLongA(list, GWL_EXSTYLE) & (WS_EX_STATICEDGE | WS_EX_CLIENTEDGE), WS_EX_STATICEDGE);
}

TEST_F(ListViewCreationTest, HotCursorIsTheHandOnlyWhenAsked) {
  ListViewProperties p;
  p.hot_tracking = true;
  HWND hand = create(p, 0x16010001)->hwnd();
  EXPECT_EQ(reinterpret_cast<HCURSOR>(SendMessageA(hand, LVM_GETHOTCURSOR, 0, 0)),
            LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)));
  p.hand_cursor = false;
  HWND arrow = create(p, 0x16010002)->hwnd();
  EXPECT_EQ(reinterpret_cast<HCURSOR>(SendMessageA(arrow, LVM_GETHOTCURSOR, 0, 0)),
            LoadCursorA(nullptr, IDC_ARROW));
}

TEST_F(ListViewCreationTest, NewerTemplateVersionFailsCreation) {
  std::vector<std::uint8_t> block = song_list_properties().serialize();
  block[0] = 2;
  EXPECT_EQ(create_from_block(block), nullptr);
  EXPECT_EQ(GetWindow(parent(), GW_CHILD), nullptr) << "nothing is left behind";
  block.resize(40);
  block[0] = 1;
  EXPECT_EQ(create_from_block(block), nullptr);
  EXPECT_EQ(GetWindow(parent(), GW_CHILD), nullptr);
}

TEST_F(ListViewCreationTest, RowsSubItemsImagesAndIndentComeFromItemRecords) {
  ListViewProperties p = song_list_properties();
  p.item_images = image_blob(2);
  const ItemRecord items[] = {
      {true, -1, -1, 0, 0, "orphan sub-item", ""},
      {false, 1, -1, 2, 41, "row 0", "tip of row 0"},
      {true, 0, -1, 0, 0, "row 0 column 1", ""},
      {false, 5, -1, 0, 42, "row 1", ""},
  };
  p.items = ui::listview::encode_items(items);
  HWND list = create(p)->hwnd();
  ASSERT_EQ(row_count(list), 2);
  EXPECT_EQ(cell(list, 0, 0), "row 0");
  EXPECT_EQ(cell(list, 0, 1), "row 0 column 1");
  EXPECT_EQ(cell(list, 1, 0), "row 1");
  EXPECT_EQ(cell(list, 1, 1), "");
  LVITEMA item{};
  item.mask = LVIF_IMAGE | LVIF_PARAM | LVIF_INDENT;
  item.iItem = 0;
  ASSERT_TRUE(SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  EXPECT_EQ(item.iImage, 1);
  EXPECT_EQ(item.lParam, 41);
  EXPECT_EQ(item.iIndent, 2);
  item.iItem = 1;
  ASSERT_TRUE(SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  EXPECT_EQ(item.iImage, -1) << "an image the list does not have is dropped";
  EXPECT_EQ(item.lParam, 42);
}

TEST_F(ListViewCreationTest, ImageListsLoadOnlyFromMarkedBlobs) {
  ListViewProperties p = song_list_properties();
  p.item_images = image_blob(3);
  p.state_images = image_blob(2);
  p.state_images[0] = 'X';  // no mark
  p.header_images = image_blob(1);
  HWND list = create(p)->hwnd();
  auto small = reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
  EXPECT_EQ(ImageList_GetImageCount(small), 3);
  EXPECT_EQ(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_NORMAL, 0), 0);
  EXPECT_EQ(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_STATE, 0), 0);
  auto header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
  auto header_images = reinterpret_cast<HIMAGELIST>(SendMessageA(header, HDM_GETIMAGELIST, 0, 0));
  EXPECT_EQ(ImageList_GetImageCount(header_images), 1);
  EXPECT_EQ(ImageList_GetBkColor(header_images), GetSysColor(COLOR_BTNFACE));

  // Eight bytes or less hold no list, whatever they say.
  ListViewProperties short_blob;
  short_blob.item_images = {'M', 'I', 'T', 'L', 0, 0, 0, 0};
  HWND icons = create(short_blob, 0x16010002)->hwnd();
  EXPECT_EQ(SendMessageA(icons, LVM_GETIMAGELIST, LVSIL_NORMAL, 0), 0);
}

TEST_F(ListViewCreationTest, ColoursAndFont) {
  ListViewProperties p = song_list_properties();
  p.text_colour = 0x0000FF;
  p.text_back_colour = 0xFF000000;
  p.back_colour = 0x00FF00;
  LOGFONTA font{};
  font.lfHeight = -20;
  font.lfWeight = 700;
  std::strcpy(font.lfFaceName, "Sans");
  p.font.assign(reinterpret_cast<const std::uint8_t*>(&font),
                reinterpret_cast<const std::uint8_t*>(&font) + sizeof font);
  HWND list = create(p)->hwnd();
  EXPECT_EQ(SendMessageA(list, LVM_GETTEXTCOLOR, 0, 0), 0x0000FF);
  EXPECT_EQ(static_cast<COLORREF>(SendMessageA(list, LVM_GETTEXTBKCOLOR, 0, 0)), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(SendMessageA(list, LVM_GETBKCOLOR, 0, 0), 0x00FF00);
  auto used = reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0));
  ASSERT_NE(used, nullptr);
  EXPECT_NE(used, GetStockObject(DEFAULT_GUI_FONT));
  LOGFONTA made{};
  ASSERT_EQ(GetObjectA(used, sizeof made, &made), static_cast<int>(sizeof made));
  EXPECT_EQ(made.lfHeight, -20);
  EXPECT_EQ(made.lfCharSet, DEFAULT_CHARSET);
  EXPECT_EQ(made.lfQuality, PROOF_QUALITY);

  // A font blob of another size is the stock font.
  ListViewProperties odd = song_list_properties();
  odd.font = {1, 2, 3};
  HWND plain = create(odd, 0x16010002)->hwnd();
  EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(plain, WM_GETFONT, 0, 0)),
            GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace
}  // namespace listview_test
