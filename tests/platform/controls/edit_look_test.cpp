// What a person sees of an edit control: background colours by state and from the parent,
// the selection highlight, text moved down by a larger non-client area, and a gallery PNG.
#include <filesystem>

#include "tests/platform/controls/edit_fixture.h"

namespace edit_test {
namespace {

class EditLook : public EditTest {
 protected:
  // Pixels of the client area that have colour `c`.
  static int pixels_of(HWND hwnd, COLORREF c) {
    RECT r{};
    GetClientRect(hwnd, &r);
    int n = 0;
    for (int y = 0; y < r.bottom; ++y)
      for (int x = 0; x < r.right; ++x)
        if (hl::read_pixel(hwnd, x, y) == c) ++n;
    return n;
  }
  // The screen row of the topmost dark pixel of the client area, -1 when there is none.
  static int first_ink_row(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    for (int y = 0; y < r.bottom; ++y)
      for (int x = 0; x < r.right; ++x)
        if (luminance(hl::read_pixel(hwnd, x, y)) < 100) return origin.y + y;
    return -1;
  }
};

TEST_F(EditLook, BackgroundFollowsStateAndParent) {
  HWND editable = make_edit(0, {10, 10, 200, 34}, 100);
  HWND read_only = make_edit(ES_READONLY, {10, 40, 200, 64}, 101);
  HWND disabled = make_edit(WS_DISABLED, {10, 70, 200, 94}, 102);
  idle();
  EXPECT_EQ(hl::read_pixel(editable, 5, 5), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(hl::read_pixel(read_only, 5, 5), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(hl::read_pixel(disabled, 5, 5), GetSysColor(COLOR_BTNFACE));
  // The parent's brush paints the background.
  HBRUSH pink = CreateSolidBrush(RGB(255, 200, 220));
  record().edit_brush = pink;
  InvalidateRect(editable, nullptr, TRUE);
  idle();
  EXPECT_EQ(hl::read_pixel(editable, 5, 5), RGB(255, 200, 220));
  record().edit_brush = nullptr;
  DestroyWindow(editable);
  DeleteObject(pink);
  // EM_SETREADONLY turns the background grey.
  HWND toggled = make_edit(0, {10, 100, 200, 124}, 103);
  SendMessageA(toggled, EM_SETREADONLY, TRUE, 0);
  idle();
  EXPECT_EQ(hl::read_pixel(toggled, 5, 5), GetSysColor(COLOR_BTNFACE));
}

TEST_F(EditLook, ParentColoursTheText) {
  record().edit_text = RGB(200, 0, 0);
  record().edit_back = RGB(255, 255, 0);
  HWND e = make_edit(0, {10, 10, 250, 34}, 100, "红色 red text");
  idle();
  EXPECT_GT(pixels_of(e, RGB(255, 255, 0)), 100) << "text cells in the chosen background colour";
  int reddish = 0;
  RECT r{};
  GetClientRect(e, &r);
  for (int y = 0; y < r.bottom; ++y)
    for (int x = 0; x < r.right; ++x) {
      const COLORREF c = hl::read_pixel(e, x, y);
      if (GetRValue(c) > 150 && GetGValue(c) < 90 && GetBValue(c) < 90) ++reddish;
    }
  EXPECT_GT(reddish, 10) << "text in the chosen colour";
  EXPECT_EQ(hl::read_pixel(e, r.right - 3, r.bottom - 2), GetSysColor(COLOR_WINDOW))
      << "outside the text: the brush";
}

TEST_F(EditLook, SelectionIsHighlightedWhileFocusedOrWithNoHideSel) {
  HWND hides = make_edit(0, {10, 10, 250, 34}, 100, "选中的文字 selected");
  HWND keeps = make_edit(ES_NOHIDESEL, {10, 40, 250, 64}, 101, "选中的文字 selected");
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  SendMessageA(hides, EM_SETSEL, 0, -1);
  SendMessageA(keeps, EM_SETSEL, 0, -1);
  idle();
  EXPECT_EQ(pixels_of(hides, highlight), 0) << "unfocused: hidden";
  EXPECT_GT(pixels_of(keeps, highlight), 50) << "ES_NOHIDESEL shows it unfocused";
  SetFocus(hides);
  idle();
  EXPECT_GT(pixels_of(hides, highlight), 50);
  SendMessageA(hides, EM_SETSEL, static_cast<WPARAM>(-1), 0);
  idle();
  EXPECT_EQ(pixels_of(hides, highlight), 0);
}

LRESULT CALLBACK taller_frame(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto previous = reinterpret_cast<WNDPROC>(GetPropA(hwnd, "previous"));
  if (msg == WM_NCCALCSIZE) {
    const LRESULT r = CallWindowProcA(previous, hwnd, msg, wp, lp);
    RECT* client = wp ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lp)->rgrc[0] : reinterpret_cast<RECT*>(lp);
    client->top += 8;
    return r;
  }
  return CallWindowProcA(previous, hwnd, msg, wp, lp);
}

TEST_F(EditLook, LargerNonClientAreaMovesTheTextDown) {
  HWND plain = make_edit(0, {10, 10, 200, 44}, 100, "歌词 Lyric");
  HWND centred = make_edit(0, {210, 10, 400, 44}, 101, "歌词 Lyric");
  SetPropA(centred, "previous", reinterpret_cast<HANDLE>(GetWindowLongPtrA(centred, GWLP_WNDPROC)));
  SetWindowLongPtrA(centred, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&taller_frame));
  SetWindowPos(centred, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  idle();
  RECT a{}, b{};
  GetClientRect(plain, &a);
  GetClientRect(centred, &b);
  EXPECT_EQ(a.bottom - b.bottom, 8);
  const int plain_row = first_ink_row(plain), centred_row = first_ink_row(centred);
  ASSERT_GE(plain_row, 0);
  EXPECT_EQ(centred_row - plain_row, 8);
  // The band above the client area is the edit's background, not left over.
  HWND top = GetAncestor(centred, GA_ROOT);
  RECT wr{}, tr{};
  GetWindowRect(centred, &wr);
  GetWindowRect(top, &tr);
  POINT band{wr.left + 6, wr.top + 4};
  ScreenToClient(top, &band);
  EXPECT_EQ(hl::read_pixel(top, band.x, band.y), GetSysColor(COLOR_WINDOW));
  SetWindowLongPtrA(centred, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GetPropA(centred, "previous")));
  RemovePropA(centred, "previous");
}

TEST_F(EditLook, GalleryOfStates) {
  make_edit(0, {10, 10, 240, 32}, 100, "普通 normal");
  HWND focused = make_edit(ES_AUTOHSCROLL, {10, 40, 240, 62}, 101, "有焦点 focused, selected");
  make_edit(ES_READONLY, {10, 70, 240, 92}, 102, "只读 read-only");
  make_edit(WS_DISABLED, {10, 100, 240, 122}, 103, "禁用 disabled");
  make_edit(ES_PASSWORD, {10, 130, 240, 152}, 104, "secret");
  make_edit(ES_CENTER, {10, 160, 240, 182}, 105, "居中 centred");
  make_edit(ES_RIGHT, {10, 190, 240, 212}, 106, "靠右 right");
  HWND multi = make_edit(ES_MULTILINE | WS_VSCROLL, {250, 10, 490, 150}, 107,
                         "多行文本，自动换行的中文歌词 with Latin words mixed in, and more "
                         "lines\r\n第二段\r\n第三段\r\n第四段\r\n第五段\r\n第六段");
  ASSERT_NE(multi, nullptr);
  HWND buddy = make_edit(0, {250, 170, 330, 192}, 108, "5");
  CreateWindowExA(0, "msctls_updown32", "",
                  WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY, 0, 0, 16, 22,
                  parent_, reinterpret_cast<HMENU>(109), nullptr, nullptr);
  ASSERT_NE(buddy, nullptr);
  SetFocus(focused);
  SendMessageA(focused, EM_SETSEL, 4, 12);
  idle();
  const std::string path = (std::filesystem::current_path() / "edit_gallery.png").string();
  ASSERT_TRUE(hl::save_png(parent_, path));
  EXPECT_TRUE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace edit_test
