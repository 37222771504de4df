// The gallery: every standard control in its states in one window, saved as PNG files in the
// current directory so the look can be reviewed, with checks on what must be visible.
#include <filesystem>
#include <iostream>

#include "platform/api/listview.h"
#include "tests/platform/controls/menu_fixture.h"

namespace menu_test {
namespace {

class Gallery : public MenuTest {
 protected:
  HWND child(const char* cls, std::string_view utf8_text, DWORD style, RECT r, int id, DWORD ex_style = 0) {
    std::string text = ansi(utf8_text);
    HWND w = CreateWindowExA(ex_style, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                             r.right - r.left, r.bottom - r.top, parent_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    EXPECT_NE(w, nullptr) << cls << " " << utf8_text;
    SendMessageA(w, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return w;
  }

  void build() {
    SetWindowTextA(parent_, ansi("控件一览 Gallery").c_str());
    // A dialog-coloured background, as the controls expect; the class is shared, so it is put back.
    old_brush_ = SetClassLongPtrA(parent_, GCLP_HBRBACKGROUND, static_cast<LONG_PTR>(COLOR_BTNFACE + 1));
    SetWindowPos(parent_, nullptr, 20, 20, 660, 470, SWP_NOZORDER | SWP_NOACTIVATE);
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, 1, "&Open\tCtrl+O");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), ansi("文件(&F)").c_str());
    AppendMenuA(bar, MF_STRING, 2, ansi("编辑(&E)").c_str());
    AppendMenuA(bar, MF_STRING | MF_GRAYED, 3, ansi("帮助(&H)").c_str());
    SetMenu(parent_, bar);
    menus_.push_back(bar);

    normal_ = child("BUTTON", "普通 Normal", BS_PUSHBUTTON, {10, 10, 100, 34}, 10);
    child("BUTTON", "默认 Default", BS_DEFPUSHBUTTON, {10, 40, 100, 64}, 11);
    focused_ = child("BUTTON", "焦点 Focus", BS_PUSHBUTTON, {10, 70, 100, 94}, 12);
    pressed_ = child("BUTTON", "按下 Pressed", BS_PUSHBUTTON, {10, 100, 100, 124}, 13);
    disabled_ = child("BUTTON", "禁用 Disabled", BS_PUSHBUTTON | WS_DISABLED, {10, 130, 100, 154}, 14);
    SendMessageA(pressed_, BM_SETSTATE, TRUE, 0);

    HWND c1 = checked_ = child("BUTTON", "选中 Checked", BS_AUTOCHECKBOX, {110, 10, 230, 30}, 20);
    child("BUTTON", "未选 Unchecked", BS_AUTOCHECKBOX, {110, 32, 230, 52}, 21);
    HWND c3 = mixed_ = child("BUTTON", "不定 Mixed", BS_AUTO3STATE, {110, 54, 230, 74}, 22);
    HWND c4 = child("BUTTON", "禁用 Disabled", BS_AUTOCHECKBOX | WS_DISABLED, {110, 76, 230, 96}, 23);
    HWND r1 = child("BUTTON", "单选 Radio on", BS_AUTORADIOBUTTON | WS_GROUP, {110, 98, 230, 118}, 24);
    child("BUTTON", "单选 Radio off", BS_AUTORADIOBUTTON, {110, 120, 230, 140}, 25);
    child("BUTTON", "禁用 Radio", BS_AUTORADIOBUTTON | WS_DISABLED, {110, 142, 230, 162}, 26);
    SendMessageA(c1, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(c3, BM_SETCHECK, BST_INDETERMINATE, 0);
    SendMessageA(c4, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(r1, BM_SETCHECK, BST_CHECKED, 0);

    child("BUTTON", "编辑框 Edits", BS_GROUPBOX, {240, 4, 420, 170}, 30);
    child("EDIT", "文本 Text", ES_AUTOHSCROLL, {250, 22, 410, 44}, 31, WS_EX_CLIENTEDGE);
    HWND sel = child("EDIT", "选择 Selection", ES_AUTOHSCROLL | ES_NOHIDESEL, {250, 49, 410, 71}, 32,
                     WS_EX_CLIENTEDGE);
    SendMessageA(sel, EM_SETSEL, 0, 4);
    child("EDIT", "只读 Read-only", ES_AUTOHSCROLL | ES_READONLY, {250, 76, 410, 98}, 33, WS_EX_CLIENTEDGE);
    child("EDIT", "禁用 Disabled", ES_AUTOHSCROLL | WS_DISABLED, {250, 103, 410, 125}, 34, WS_EX_CLIENTEDGE);
    HWND buddy = child("EDIT", "", ES_AUTOHSCROLL, {250, 130, 330, 152}, 35, WS_EX_CLIENTEDGE);
    HWND spin =
        child(UPDOWN_CLASSA, "", UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS, {0, 0, 16, 22}, 36);
    SendMessageA(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
    SendMessageA(spin, UDM_SETRANGE32, 0, 100);
    SendMessageA(spin, UDM_SETPOS32, 0, 42);

    child("EDIT",
          "第一行 Line one\r\n第二行 Line two\r\n第三行 Line three\r\nfour\r\nfive\r\nsix\r\nseven\r\neight",
          ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, {430, 10, 630, 160}, 37, WS_EX_CLIENTEDGE);

    list_ =
        child(WC_LISTVIEWA, "", LVS_REPORT | LVS_SHOWSELALWAYS, {10, 176, 630, 380}, 40, WS_EX_CLIENTEDGE);
    SendMessageA(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    const char* columns[] = {"歌曲ID", "歌词地址"};
    for (int i = 0; i < 2; ++i) {
      std::string text = ansi(columns[i]);
      LVCOLUMNA col{};
      col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
      col.cx = i == 0 ? 120 : 380;
      col.pszText = text.data();
      col.iSubItem = i;
      SendMessageA(list_, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&col));
    }
    for (int row = 0; row < 5; ++row) {
      std::string id = std::to_string(1000 + row);
      std::string url = ansi("http://127.0.0.1:47610/歌词/" + std::to_string(row) + ".lrc");
      LVITEMA item{};
      item.mask = LVIF_TEXT;
      item.iItem = row;
      item.pszText = id.data();
      SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
      item.iSubItem = 1;
      item.pszText = url.data();
      SendMessageA(list_, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list_, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
    state.stateMask = LVIS_STATEIMAGEMASK;
    state.state = INDEXTOSTATEIMAGEMASK(2);  // checked
    SendMessageA(list_, LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&state));
    SetFocus(focused_);
    idle();
  }

  void TearDown() override {
    if (IsWindow(parent_)) SetClassLongPtrA(parent_, GCLP_HBRBACKGROUND, static_cast<LONG_PTR>(old_brush_));
    MenuTest::TearDown();
  }

  static std::string save(HWND hwnd, const char* name) {
    std::string path = (std::filesystem::current_path() / name).string();
    EXPECT_TRUE(hl::save_png(hwnd, path));
    std::cout << "gallery image: " << path << "\n";
    return path;
  }

  // Pixels of exactly `colour` inside a client rectangle of `hwnd`.
  static int count(HWND hwnd, RECT r, COLORREF colour) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (hl::read_pixel(hwnd, x, y) == colour) ++n;
    return n;
  }

  HWND normal_ = nullptr, focused_ = nullptr, pressed_ = nullptr, disabled_ = nullptr, list_ = nullptr;
  HWND checked_ = nullptr, mixed_ = nullptr;
  ULONG_PTR old_brush_ = 0;
};

TEST_F(Gallery, AllControlsInTheirStates) {
  build();
  std::string path = save(parent_, "gallery.png");
  EXPECT_GT(std::filesystem::file_size(path), 2000u);

  // The disabled button's caption is etched grey ink.
  EXPECT_GT(count(disabled_, {4, 4, 86, 20}, GetSysColor(COLOR_GRAYTEXT)), 10);
  // The pressed button is sunken (dark top-left edge), the normal one raised (light top-left edge).
  auto luminance = [](COLORREF c) {
    return (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100;
  };
  EXPECT_LT(luminance(hl::read_pixel(pressed_, 0, 0)), 140);
  EXPECT_LT(luminance(hl::read_pixel(pressed_, 1, 1)), 140);
  EXPECT_GT(luminance(hl::read_pixel(normal_, 0, 0)), 200);
  // Checked boxes carry a black tick, the indeterminate one a grey tick.
  RECT box{2, 4, 16, 16};
  EXPECT_GT(count(checked_, box, RGB(0, 0, 0)), 10);
  EXPECT_EQ(count(mixed_, box, RGB(0, 0, 0)), 0);
  EXPECT_GT(count(mixed_, box, GetSysColor(COLOR_3DSHADOW)), 10);
  // The unfocused list still shows its selected row, in the button face colour, and nowhere else.
  RECT lc;
  GetClientRect(list_, &lc);
  EXPECT_GT(count(list_, lc, GetSysColor(COLOR_BTNFACE)), 400);

  // Focus moves to the list: the selected row turns into the highlight.
  SetFocus(list_);
  idle();
  save(parent_, "gallery_list_focus.png");
  int highlight = count(list_, lc, GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_GT(highlight, 1000) << "one full row of highlight";
  EXPECT_LT(highlight, 17 * (lc.right - lc.left)) << "only the one selected row";

  // An open pop-up menu from the bar, with a hot item, a grayed item, a check and a sub-menu.
  HMENU sub = CreatePopupMenu();
  AppendMenuA(sub, MF_STRING, 61, "Inner");
  HMENU m = CreatePopupMenu();
  menus_.push_back(m);
  AppendMenuA(m, MF_STRING, 51, ansi("打开(&O)\tCtrl+O").c_str());
  AppendMenuA(m, MF_STRING | MF_CHECKED, 52, ansi("自动换行(&W)").c_str());
  AppendMenuA(m, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(m, MF_STRING | MF_GRAYED, 53, ansi("不可用(&D)").c_str());
  AppendMenuA(m, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), ansi("更多(&M)").c_str());
  AppendMenuA(m, MF_STRING, 54, ansi("退出(&X)\tAlt+F4").c_str());
  int menu_highlight = 0;
  steps({[](HWND) { hl::key_press(VK_DOWN); },
         [&](HWND popup) {
           save(popup, "gallery_menu.png");
           menu_highlight = count(popup, {3, 3, 40, 22}, GetSysColor(COLOR_HIGHLIGHT));
           hl::key_press(VK_ESCAPE);
         }});
  POINT at{0, 0};
  ClientToScreen(parent_, &at);
  TrackPopupMenu(m, TPM_RIGHTBUTTON, at.x + 240, at.y + 60, 0, parent_, nullptr);
  EXPECT_GT(menu_highlight, 300) << "the first item is hot";
}

}  // namespace
}  // namespace menu_test
