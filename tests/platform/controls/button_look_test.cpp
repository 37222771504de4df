// What a person sees of buttons: pressed and default frames, greyed text, check marks, parent
// colours, owner drawing, and a gallery PNG of the kinds in their states for review.
#include <filesystem>

#include "tests/platform/controls/controls_fixture.h"

namespace controls_test {
namespace {

using ButtonLook = ControlsTest;

TEST_F(ButtonLook, PressedLooksSunkenAndNormalRaised) {
  HWND b = make_button(BS_PUSHBUTTON, "按下", {10, 10, 110, 40}, 1);
  idle();
  COLORREF normal_top_left = hl::read_pixel(b, 1, 1);
  COLORREF normal_bottom_right = hl::read_pixel(b, 98, 28);
  SendMessageA(b, BM_SETSTATE, TRUE, 0);
  idle();
  COLORREF pressed_top_left = hl::read_pixel(b, 1, 1);
  COLORREF pressed_bottom_right = hl::read_pixel(b, 98, 28);
  // Raised: light top-left, dark bottom-right; sunken: the other way round.
  EXPECT_GT(luminance(normal_top_left), luminance(pressed_top_left));
  EXPECT_LT(luminance(normal_bottom_right), luminance(pressed_bottom_right));
  EXPECT_EQ(hl::read_pixel(b, 50, 5), GetSysColor(COLOR_BTNFACE)) << "the face stays button-coloured";
  SendMessageA(b, BM_SETSTATE, FALSE, 0);
  idle();
  EXPECT_EQ(hl::read_pixel(b, 1, 1), normal_top_left);
}

TEST_F(ButtonLook, DefaultButtonHasABlackFrame) {
  HWND plain = make_button(BS_PUSHBUTTON, "普通", {10, 10, 110, 40}, 1);
  HWND def = make_button(BS_DEFPUSHBUTTON, "默认", {120, 10, 220, 40}, 2);
  idle();
  COLORREF frame = GetSysColor(COLOR_WINDOWFRAME);
  EXPECT_EQ(hl::read_pixel(def, 0, 0), frame);
  EXPECT_EQ(hl::read_pixel(def, 50, 0), frame);
  EXPECT_EQ(hl::read_pixel(def, 0, 15), frame);
  EXPECT_NE(hl::read_pixel(plain, 50, 0), frame);
  // Turning it into a plain button drops the frame.
  SendMessageA(def, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  idle();
  EXPECT_EQ(hl::read_pixel(def, 50, 0), hl::read_pixel(plain, 50, 0));
}

TEST_F(ButtonLook, FocusRectangleAndNewTextAreDrawn) {
  HWND b = make_button(BS_PUSHBUTTON, "", {10, 10, 110, 40}, 1);
  idle();
  auto changed_on_focus_line = [&] {
    int n = 0;
    for (int x = 4; x < 96; ++x)
      if (hl::read_pixel(b, x, 4) != GetSysColor(COLOR_BTNFACE)) ++n;
    return n;
  };
  EXPECT_EQ(changed_on_focus_line(), 0);
  SetFocus(b);
  idle();
  EXPECT_GT(changed_on_focus_line(), 20) << "a dotted focus rectangle inside the edges";
  SetFocus(parent_);
  idle();
  EXPECT_EQ(changed_on_focus_line(), 0);

  RECT middle{10, 8, 90, 22};
  EXPECT_EQ(dark_pixels(b, middle, 100), 0);
  SetWindowTextA(b, ansi("新文字").c_str());
  idle();
  EXPECT_GT(dark_pixels(b, middle, 100), 10) << "WM_SETTEXT repaints";
}

TEST_F(ButtonLook, DisabledTextIsGreyAndEnabledTextBlack) {
  HWND enabled = make_button(BS_PUSHBUTTON, "按钮文字", {10, 10, 130, 40}, 1);
  HWND disabled = make_button(BS_PUSHBUTTON | WS_DISABLED, "按钮文字", {140, 10, 260, 40}, 2);
  idle();
  RECT inside{4, 4, 116, 26};
  COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
  COLORREF enabled_ink = darkest(enabled, inside);
  COLORREF disabled_ink = darkest(disabled, inside);
  EXPECT_LT(luminance(enabled_ink), 60);
  EXPECT_NEAR(luminance(disabled_ink), luminance(grey), 12)
      << "darkest ink of a disabled button is the grey text";
  EXPECT_LT(luminance(disabled_ink), luminance(GetSysColor(COLOR_BTNFACE)) - 20) << "but the text is drawn";

  // Enabling repaints in black.
  EnableWindow(disabled, TRUE);
  idle();
  EXPECT_LT(luminance(darkest(disabled, inside)), 60);
}

TEST_F(ButtonLook, CheckMarkAppearsWhenChecked) {
  HWND box = make_button(BS_CHECKBOX, "选项", {10, 10, 150, 30}, 1);
  idle();
  RECT glyph{2, 5, 11, 14};  // inside the 13x13 square, left, vertically centred
  int unchecked = dark_pixels(box, glyph, 80);
  SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
  idle();
  int checked = dark_pixels(box, glyph, 80);
  EXPECT_EQ(unchecked, 0);
  EXPECT_GE(checked, 10);
  EXPECT_EQ(hl::read_pixel(box, 9, 12), GetSysColor(COLOR_WINDOW)) << "box interior is window-coloured";
}

TEST_F(ButtonLook, ParentColoursReachCheckBoxesAndGroupCaptions) {
  HBRUSH yellow = CreateSolidBrush(RGB(255, 255, 0));
  parent_log().static_brush = yellow;
  parent_log().static_text = RGB(0, 0, 255);
  HWND box = make_button(BS_AUTOCHECKBOX, "彩色", {10, 10, 150, 30}, 1);
  HWND group = make_button(BS_GROUPBOX, "分组框", {10, 40, 200, 120}, 2);
  idle();
  EXPECT_EQ(hl::read_pixel(box, 130, 2), RGB(255, 255, 0)) << "background from WM_CTLCOLORSTATIC";
  EXPECT_EQ(hl::read_pixel(group, 9, 1), RGB(255, 255, 0)) << "caption band from WM_CTLCOLORSTATIC";
  COLORREF ink = darkest(box, RECT{17, 2, 80, 18});
  EXPECT_GT(GetBValue(ink), 150);
  EXPECT_LT(GetRValue(ink), 100);
  DestroyWindow(box);
  DestroyWindow(group);
  DeleteObject(yellow);
}

TEST_F(ButtonLook, OwnerDrawAsksTheParent) {
  HWND b = make_button(BS_OWNERDRAW, "自绘", {10, 10, 110, 40}, 77);
  idle();
  ASSERT_FALSE(parent_log().draw_items.empty());
  const DRAWITEMSTRUCT& item = parent_log().draw_items.back();
  EXPECT_EQ(item.CtlType, ODT_BUTTON);
  EXPECT_EQ(item.CtlID, 77u);
  EXPECT_EQ(item.hwndItem, b);
  EXPECT_EQ(item.rcItem.right, 100);
  EXPECT_EQ(item.rcItem.bottom, 30);
  EXPECT_EQ(hl::read_pixel(b, 50, 15), GetSysColor(COLOR_HIGHLIGHT)) << "the parent's drawing shows";
  SendMessageA(b, BM_SETSTATE, TRUE, 0);
  idle();
  EXPECT_TRUE(parent_log().draw_items.back().itemState & ODS_SELECTED);
}

TEST_F(ButtonLook, BitmapButtonShowsItsImageCentred) {
  HDC screen = GetDC(nullptr);
  HBITMAP red = CreateCompatibleBitmap(screen, 16, 16);
  ReleaseDC(nullptr, screen);
  ASSERT_NE(red, nullptr);
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(memory, red);
  RECT all{0, 0, 16, 16};
  HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
  FillRect(memory, &all, brush);
  DeleteObject(brush);
  SelectObject(memory, old);
  DeleteDC(memory);

  HWND b = make_button(BS_PUSHBUTTON | BS_BITMAP, "", {10, 10, 110, 50}, 1);
  EXPECT_EQ(SendMessageA(b, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(red)), 0);
  idle();
  EXPECT_EQ(hl::read_pixel(b, 50, 20), RGB(255, 0, 0)) << "centre of the button";
  EXPECT_EQ(hl::read_pixel(b, 42, 12), RGB(255, 0, 0));
  EXPECT_NE(hl::read_pixel(b, 40, 20), RGB(255, 0, 0)) << "only 16 pixels wide";
  EXPECT_EQ(reinterpret_cast<HBITMAP>(SendMessageA(b, BM_GETIMAGE, IMAGE_BITMAP, 0)), red);
  DestroyWindow(b);
  DeleteObject(red);
}

TEST_F(ButtonLook, GalleryOfKindsAndStates) {
  SetWindowPos(parent_, nullptr, 0, 0, 560, 400, SWP_NOMOVE | SWP_NOZORDER);
  HWND normal = make_button(BS_PUSHBUTTON, "普通 Normal", {10, 10, 130, 40}, 1);
  HWND focused = make_button(BS_DEFPUSHBUTTON, "焦点 &Focus", {140, 10, 260, 40}, 2);
  HWND pressed = make_button(BS_PUSHBUTTON, "按下 Pressed", {270, 10, 390, 40}, 3);
  HWND disabled = make_button(BS_PUSHBUTTON | WS_DISABLED, "禁用 Disabled", {400, 10, 520, 40}, 4);
  HWND group = make_button(BS_GROUPBOX, "分组框 Group", {10, 55, 260, 200}, 5);
  HWND check = make_button(BS_AUTOCHECKBOX, "复选 Check", {20, 75, 250, 95}, 6);
  HWND check3 = make_button(BS_AUTO3STATE, "三态 Three-state", {20, 100, 250, 120}, 7);
  HWND radio1 = make_button(BS_AUTORADIOBUTTON | WS_GROUP, "单选一 Radio", {20, 125, 250, 145}, 8);
  make_button(BS_AUTORADIOBUTTON, "单选二 Radio", {20, 150, 250, 170}, 9);
  HWND checked_off = make_button(BS_CHECKBOX | WS_DISABLED, "禁用复选", {20, 172, 250, 192}, 10);
  HWND like = make_button(BS_AUTOCHECKBOX | BS_PUSHLIKE, "按下式", {280, 60, 400, 90}, 11);
  HWND flat = make_button(BS_PUSHBUTTON | BS_FLAT, "平面 Flat", {410, 60, 530, 90}, 12);
  make_button(BS_PUSHBUTTON | BS_MULTILINE, "多行按钮的文字会自动换行 wraps", {280, 100, 400, 150}, 13);
  HWND icon_button = make_button(BS_PUSHBUTTON | BS_ICON, "", {410, 100, 530, 150}, 14);
  make_button(BS_AUTOCHECKBOX | BS_LEFTTEXT | BS_RIGHT, "文字在左", {280, 160, 530, 180}, 15);
  SendMessageA(icon_button, BM_SETIMAGE, IMAGE_ICON,
               reinterpret_cast<LPARAM>(LoadIconA(nullptr, IDI_QUESTION)));
  SendMessageA(check, BM_SETCHECK, BST_CHECKED, 0);
  SendMessageA(check3, BM_SETCHECK, BST_INDETERMINATE, 0);
  SendMessageA(radio1, BM_SETCHECK, BST_CHECKED, 0);
  SendMessageA(checked_off, BM_SETCHECK, BST_CHECKED, 0);
  SendMessageA(like, BM_SETCHECK, BST_CHECKED, 0);
  SendMessageA(pressed, BM_SETSTATE, TRUE, 0);
  SetFocus(focused);
  idle();

  std::string path = (std::filesystem::current_path() / "button_gallery.png").string();
  ASSERT_TRUE(hl::save_png(parent_, path));
  EXPECT_GT(std::filesystem::file_size(path), 1000u);

  EXPECT_NE(hl::read_pixel(normal, 1, 1), hl::read_pixel(pressed, 1, 1)) << "pressed and normal edges differ";
  EXPECT_TRUE(SendMessageA(focused, BM_GETSTATE, 0, 0) & BST_FOCUS);
  EXPECT_NEAR(luminance(darkest(disabled, RECT{4, 4, 116, 26})), luminance(GetSysColor(COLOR_GRAYTEXT)), 12);
  EXPECT_GT(dark_pixels(check, RECT{2, 5, 11, 14}, 80), 10) << "checked box shows its mark";
  EXPECT_NE(hl::read_pixel(flat, 1, 1), hl::read_pixel(normal, 1, 1)) << "flat buttons have no 3-D edge";
  // The etched group frame runs below the caption, interrupted by it.
  EXPECT_NE(hl::read_pixel(group, 0, 100), GetSysColor(COLOR_BTNFACE));
}

}  // namespace
}  // namespace controls_test
