// Buttons driven by injected mouse and keyboard input: what the parent hears and what state
// the button reports.
#include "tests/platform/controls/controls_fixture.h"

namespace controls_test {
namespace {

using ButtonInput = ControlsTest;

TEST_F(ButtonInput, MouseReleaseInsideClicksOnceAndOutsideNot) {
  HWND b = make_button(BS_PUSHBUTTON, "确定", {10, 10, 110, 40}, 101);
  ASSERT_TRUE(hl::click(b, {20, 10}));
  idle();
  EXPECT_EQ(clicks_from(b), (std::vector<Command>{{101, BN_CLICKED, b}}));

  // Press inside, drag out, release outside: no click, and the pressed look follows the mouse.
  hl::advance_clock(1000);
  hl::mouse_button(b, hl::Button::left, true, {20, 10});
  idle();
  EXPECT_TRUE(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_PUSHED);
  hl::mouse_move(b, {300, 200});
  idle();
  EXPECT_FALSE(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_PUSHED) << "dragged outside looks normal";
  hl::mouse_move(b, {30, 12});
  idle();
  EXPECT_TRUE(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_PUSHED) << "back inside looks pressed";
  hl::mouse_move(b, {300, 200});
  hl::mouse_button(b, hl::Button::left, false, {300, 200});
  idle();
  EXPECT_EQ(clicks_from(b).size(), 1u);
  EXPECT_FALSE(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_PUSHED);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ButtonInput, PressTakesFocusAndCapture) {
  HWND b = make_button(BS_PUSHBUTTON, "A", {10, 10, 110, 40}, 102);
  hl::mouse_button(b, hl::Button::left, true, {5, 5});
  idle();
  EXPECT_EQ(GetFocus(), b);
  EXPECT_EQ(GetCapture(), b);
  EXPECT_EQ(SendMessageA(b, BM_GETSTATE, 0, 0) & (BST_PUSHED | BST_FOCUS),
            static_cast<LRESULT>(BST_PUSHED | BST_FOCUS));
  hl::mouse_button(b, hl::Button::left, false, {5, 5});
  idle();
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(clicks_from(b).size(), 1u);
}

TEST_F(ButtonInput, SpacePressesOnDownAndClicksOnUp) {
  HWND b = make_button(BS_PUSHBUTTON, "空格", {10, 10, 110, 40}, 103);
  SetFocus(b);
  hl::key_down(VK_SPACE);
  idle();
  EXPECT_TRUE(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_PUSHED);
  EXPECT_TRUE(clicks_from(b).empty()) << "the click comes with the key release";
  hl::key_up(VK_SPACE);
  idle();
  EXPECT_FALSE(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_PUSHED);
  EXPECT_EQ(clicks_from(b).size(), 1u);

  // Losing the focus while Space is down cancels the click.
  HWND other = make_button(BS_PUSHBUTTON, "B", {120, 10, 220, 40}, 104);
  SetFocus(b);
  hl::key_down(VK_SPACE);
  idle();
  SetFocus(other);
  hl::key_up(VK_SPACE);
  idle();
  EXPECT_EQ(clicks_from(b).size(), 1u);
  EXPECT_FALSE(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_PUSHED);
}

TEST_F(ButtonInput, DisabledButtonIgnoresClicksAndBmClick) {
  HWND b = make_button(BS_PUSHBUTTON | WS_DISABLED, "禁用", {10, 10, 110, 40}, 105);
  hl::click(b, {20, 10});
  idle();
  SendMessageA(b, BM_CLICK, 0, 0);
  EXPECT_TRUE(clicks_from(b).empty());
  EnableWindow(b, TRUE);
  SendMessageA(b, BM_CLICK, 0, 0);
  EXPECT_EQ(clicks_from(b).size(), 1u);
}

TEST_F(ButtonInput, AutoCheckBoxTogglesPlainCheckBoxDoesNot) {
  HWND autobox = make_button(BS_AUTOCHECKBOX, "自动", {10, 10, 150, 30}, 106);
  HWND plain = make_button(BS_CHECKBOX, "手动", {10, 40, 150, 60}, 107);
  hl::click(autobox, {5, 10});
  idle();
  EXPECT_EQ(SendMessageA(autobox, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_CHECKED));
  hl::advance_clock(1000);
  hl::click(autobox, {5, 10});
  idle();
  EXPECT_EQ(SendMessageA(autobox, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_UNCHECKED));
  EXPECT_EQ(clicks_from(autobox).size(), 2u);

  hl::click(plain, {5, 10});
  idle();
  EXPECT_EQ(SendMessageA(plain, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_UNCHECKED));
  EXPECT_EQ(clicks_from(plain).size(), 1u) << "a plain check box still reports the click";
  SendMessageA(plain, BM_SETCHECK, BST_INDETERMINATE, 0);
  EXPECT_EQ(SendMessageA(plain, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_CHECKED))
      << "a two-state box cannot be indeterminate";
}

TEST_F(ButtonInput, AutoThreeStateCycles) {
  HWND b = make_button(BS_AUTO3STATE, "三态", {10, 10, 150, 30}, 108);
  std::vector<LRESULT> seen;
  for (int i = 0; i < 4; ++i) {
    SetFocus(b);
    hl::key_press(VK_SPACE);
    idle();
    seen.push_back(SendMessageA(b, BM_GETCHECK, 0, 0));
  }
  EXPECT_EQ(seen, (std::vector<LRESULT>{BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED, BST_CHECKED}));
}

TEST_F(ButtonInput, AutoRadioUnchecksOnlyItsOwnGroup) {
  HWND a1 = make_button(BS_AUTORADIOBUTTON | WS_GROUP, "甲", {10, 10, 150, 30}, 110);
  HWND a2 = make_button(BS_AUTORADIOBUTTON, "乙", {10, 40, 150, 60}, 111);
  HWND a3 = make_button(BS_AUTORADIOBUTTON, "丙", {10, 70, 150, 90}, 112);
  HWND b1 = make_button(BS_AUTORADIOBUTTON | WS_GROUP, "一", {200, 10, 340, 30}, 113);
  HWND b2 = make_button(BS_AUTORADIOBUTTON, "二", {200, 40, 340, 60}, 114);
  SendMessageA(b1, BM_SETCHECK, BST_CHECKED, 0);
  SendMessageA(a1, BM_SETCHECK, BST_CHECKED, 0);

  hl::click(a3, {5, 10});
  idle();
  EXPECT_EQ(SendMessageA(a1, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_UNCHECKED));
  EXPECT_EQ(SendMessageA(a2, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_UNCHECKED));
  EXPECT_EQ(SendMessageA(a3, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_CHECKED));
  EXPECT_EQ(SendMessageA(b1, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_CHECKED))
      << "other group untouched";

  hl::advance_clock(1000);
  hl::click(b2, {5, 10});
  idle();
  EXPECT_EQ(SendMessageA(b1, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_UNCHECKED));
  EXPECT_EQ(SendMessageA(b2, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_CHECKED));
  EXPECT_EQ(SendMessageA(a3, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_CHECKED));
  EXPECT_EQ(SendMessageA(a3, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_RADIOBUTTON);
}

TEST_F(ButtonInput, GroupBoxLetsClicksThroughToWhatLiesBelow) {
  // The button sits under the group box in z-order.
  HWND below = make_button(BS_PUSHBUTTON, "下", {20, 30, 120, 60}, 120);
  HWND group = make_button(BS_GROUPBOX, "分组", {10, 10, 200, 100}, 121);
  SetWindowPos(group, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(SendMessageA(group, WM_NCHITTEST, 0, MAKELPARAM(60, 90)), HTTRANSPARENT);
  hl::click(below, {30, 10});
  idle();
  EXPECT_EQ(clicks_from(below).size(), 1u);
  EXPECT_TRUE(clicks_from(group).empty());
  EXPECT_EQ(SendMessageA(group, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
}

TEST_F(ButtonInput, NotifyStyleReportsFocusAndDoubleClicks) {
  HWND b = make_button(BS_PUSHBUTTON | BS_NOTIFY, "通知", {10, 10, 110, 40}, 130);
  HWND quiet = make_button(BS_PUSHBUTTON, "安静", {120, 10, 220, 40}, 131);
  SetFocus(b);
  SetFocus(quiet);
  hl::double_click(b, {10, 10});
  idle();
  std::vector<int> codes;
  for (const auto& c : parent_log().commands)
    if (c.from == b) codes.push_back(c.code);
  EXPECT_EQ(codes, (std::vector<int>{BN_SETFOCUS, BN_KILLFOCUS, BN_SETFOCUS, BN_CLICKED, BN_DOUBLECLICKED,
                                     BN_CLICKED}));
  for (const auto& c : parent_log().commands) EXPECT_NE(c.from, quiet) << "no BS_NOTIFY, no focus news";
}

TEST_F(ButtonInput, StateMessages) {
  HWND b = make_button(BS_CHECKBOX, "状态", {10, 10, 150, 30}, 140);
  SendMessageA(b, BM_SETCHECK, BST_CHECKED, 0);
  SendMessageA(b, BM_SETSTATE, TRUE, 0);
  EXPECT_EQ(SendMessageA(b, BM_GETSTATE, 0, 0), static_cast<LRESULT>(BST_CHECKED | BST_PUSHED));
  SendMessageA(b, BM_SETSTATE, FALSE, 0);
  EXPECT_EQ(SendMessageA(b, BM_GETSTATE, 0, 0), static_cast<LRESULT>(BST_CHECKED));

  // BM_SETSTYLE changes the kind but keeps the window styles.
  SendMessageA(b, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  DWORD style = static_cast<DWORD>(GetWindowLongA(b, GWL_STYLE));
  EXPECT_EQ(style & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_TRUE(style & WS_VISIBLE);
  EXPECT_EQ(SendMessageA(b, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
  SendMessageA(b, BM_SETSTYLE, BS_PUSHBUTTON, FALSE);
  EXPECT_EQ(SendMessageA(b, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);

  // Fonts and images are remembered; unknown image types are refused.
  HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  EXPECT_EQ(SendMessageA(b, WM_GETFONT, 0, 0), 0);
  SendMessageA(b, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(b, WM_GETFONT, 0, 0)), font);
  HICON icon = LoadIconA(nullptr, IDI_ASTERISK);
  EXPECT_EQ(SendMessageA(b, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon)), 0);
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(b, BM_GETIMAGE, IMAGE_ICON, 0)), icon);
  EXPECT_EQ(SendMessageA(b, BM_GETIMAGE, IMAGE_BITMAP, 0), 0);
  EXPECT_EQ(SendMessageA(b, BM_SETIMAGE, 7, reinterpret_cast<LPARAM>(icon)), 0);
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(b, BM_SETIMAGE, IMAGE_ICON, 0)), icon)
      << "returns the previous";
}

TEST_F(ButtonInput, HelpersByControlId) {
  make_button(BS_RADIOBUTTON, "1", {10, 10, 100, 30}, 201);
  make_button(BS_RADIOBUTTON, "2", {10, 40, 100, 60}, 202);
  make_button(BS_RADIOBUTTON, "3", {10, 70, 100, 90}, 203);
  EXPECT_TRUE(CheckRadioButton(parent_, 201, 203, 202));
  EXPECT_EQ(IsDlgButtonChecked(parent_, 202), BST_CHECKED);
  EXPECT_TRUE(CheckRadioButton(parent_, 201, 203, 203));
  EXPECT_EQ(IsDlgButtonChecked(parent_, 202), BST_UNCHECKED);
  EXPECT_EQ(IsDlgButtonChecked(parent_, 203), BST_CHECKED);
  EXPECT_FALSE(CheckRadioButton(parent_, 201, 203, 209)) << "the id to check is outside the range";
  EXPECT_FALSE(CheckDlgButton(parent_, 999, BST_CHECKED));
  EXPECT_EQ(IsDlgButtonChecked(parent_, 999), 0u);
  EXPECT_EQ(IsDlgButtonChecked(nullptr, 201), 0u);
}

// A subclassing procedure (as a visual style does) sees the state changes a click makes.
WNDPROC g_previous_proc = nullptr;
std::vector<UINT> g_subclass_seen;
LRESULT CALLBACK spy_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == BM_SETSTATE || msg == BM_SETCHECK) g_subclass_seen.push_back(msg);
  return CallWindowProcA(g_previous_proc, hwnd, msg, wp, lp);
}

TEST_F(ButtonInput, SubclassSeesStateChangesOfAClick) {
  HWND b = make_button(BS_AUTOCHECKBOX, "子类", {10, 10, 150, 30}, 150);
  g_subclass_seen.clear();
  g_previous_proc =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrA(b, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(spy_proc)));
  ASSERT_NE(g_previous_proc, nullptr);
  hl::click(b, {5, 10});
  idle();
  EXPECT_EQ(g_subclass_seen, (std::vector<UINT>{BM_SETSTATE, BM_SETSTATE, BM_SETCHECK}));
  SetWindowLongPtrA(b, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_previous_proc));
}

// A parent that destroys the button from its click handler must not crash the button.
TEST_F(ButtonInput, ParentMayDestroyTheButtonInItsClickHandler) {
  static HWND victim = nullptr;
  WNDCLASSA wc{};
  wc.lpfnWndProc = [](HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
    if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED && victim) {
      DestroyWindow(victim);
      victim = nullptr;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
  };
  wc.lpszClassName = "ControlsDestroyingParent";
  RegisterClassA(&wc);
  HWND parent = CreateWindowExA(0, "ControlsDestroyingParent", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100,
                                nullptr, nullptr, nullptr, nullptr);
  victim = CreateWindowExA(0, "BUTTON", "x", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON, 0, 0, 100, 30,
                           parent, nullptr, nullptr, nullptr);
  HWND b = victim;
  hl::click(b, {5, 5});
  idle();
  EXPECT_FALSE(IsWindow(b));
  DestroyWindow(parent);
}

}  // namespace
}  // namespace controls_test
