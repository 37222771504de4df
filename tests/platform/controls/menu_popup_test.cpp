// Pop-up menus driven by injected mouse and keyboard from inside their own loop: choosing,
// dismissing, placement on screen, sub-menus, owner-drawn items and what the owner is told.
#include <algorithm>

#include "tests/platform/controls/menu_fixture.h"

namespace menu_test {
namespace {

TEST_F(MenuTest, ClickOnItemPostsItsCommandFromAPopupAtThePoint) {
  HMENU m = file_menu();
  RECT shown{};
  std::string cls;
  steps({[&](HWND popup) {
    GetWindowRect(popup, &shown);
    cls = class_of(popup);
    hl::click(popup, item_point(kFileKinds, 3));
  }});
  EXPECT_TRUE(TrackPopupMenu(m, TPM_LEFTALIGN | TPM_TOPALIGN, 200, 150, 0, parent_, nullptr));
  EXPECT_EQ(shown.left, 200);
  EXPECT_EQ(shown.top, 150);
  EXPECT_GT(shown.right - shown.left, 60);
  EXPECT_EQ(shown.bottom - shown.top, 3 + 19 + 9 + 19 + 19 + 19 + 3);
  EXPECT_EQ(cls, kPopupMenuClass);
  EXPECT_TRUE(owner_log().commands().empty()) << "the command is posted, not sent";
  idle();
  EXPECT_EQ(owner_log().commands(), (std::vector<WPARAM>{103}));
  EXPECT_FALSE(owner_log().ran_out);

  // What the owner was told, in order (selection changes aside).
  auto n = owner_log().notifications();
  n.erase(std::remove(n.begin(), n.end(), WM_MENUSELECT), n.end());
  EXPECT_EQ(n, (std::vector<UINT>{WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, WM_UNINITMENUPOPUP,
                                  WM_EXITMENULOOP}));
  // The popup window is gone.
  HWND left = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM out) -> BOOL {
        if (class_of(w) == kPopupMenuClass) *reinterpret_cast<HWND*>(out) = w;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&left));
  EXPECT_EQ(left, nullptr);
}

TEST_F(MenuTest, KeyboardSkipsSeparatorAndGrayedItem) {
  HMENU m = file_menu();
  steps({[](HWND) {
    hl::key_press(VK_DOWN);  // Open
    hl::key_press(VK_DOWN);  // past the separator and the grayed item: Save
    hl::key_press(VK_RETURN);
  }});
  TrackPopupMenu(m, 0, 100, 100, 0, parent_, nullptr);
  idle();
  EXPECT_EQ(owner_log().commands(), (std::vector<WPARAM>{103}));
  // The selection was announced with the item's id and MF_HILITE.
  bool announced = false;
  for (const auto& s : owner_log().messages)
    if (s.msg == WM_MENUSELECT && LOWORD(s.wp) == 103 && (HIWORD(s.wp) & MF_HILITE) &&
        reinterpret_cast<HMENU>(s.lp) == m)
      announced = true;
  EXPECT_TRUE(announced);
}

TEST_F(MenuTest, MnemonicAndUpWrapChoose) {
  HMENU m = file_menu();
  steps({[](HWND) { hl::key_press('X'); }});
  TrackPopupMenu(m, 0, 100, 100, 0, parent_, nullptr);
  steps({[](HWND) {
    hl::key_press(VK_UP);  // from nothing: the last item
    hl::key_press(VK_RETURN);
  }});
  owner_log().next_step = 0;
  TrackPopupMenu(m, 0, 100, 100, 0, parent_, nullptr);
  idle();
  EXPECT_EQ(owner_log().commands(), (std::vector<WPARAM>{104, 104}));
}

TEST_F(MenuTest, EscapeAndClickOutsideDismissWithoutCommand) {
  HMENU m = file_menu();
  steps({[](HWND) { hl::key_press(VK_ESCAPE); }});
  EXPECT_EQ(TrackPopupMenu(m, TPM_RETURNCMD, 100, 100, 0, parent_, nullptr), 0);
  steps({[](HWND) {
           hl::mouse_button(hl::Button::left, true, POINT{700, 600});
         },
         [](HWND) {
           hl::mouse_button(hl::Button::left, false, POINT{700, 600});
         }});
  owner_log().next_step = 0;
  EXPECT_TRUE(TrackPopupMenu(m, 0, 100, 100, 0, parent_, nullptr));
  idle();
  EXPECT_TRUE(owner_log().commands().empty());
  EXPECT_EQ(owner_log().next_step, 1u) << "the press outside already closed the menu";
  EXPECT_FALSE(owner_log().ran_out);
}

TEST_F(MenuTest, GrayedItemCannotBeChosen) {
  HMENU m = file_menu();
  steps({[](HWND popup) { hl::click(popup, item_point(kFileKinds, 2)); },
         [](HWND popup) { hl::click(popup, item_point(kFileKinds, 1)); },  // the separator
         [](HWND) { hl::key_press(VK_ESCAPE); }});
  TrackPopupMenu(m, 0, 100, 100, 0, parent_, nullptr);
  idle();
  EXPECT_TRUE(owner_log().commands().empty());
  EXPECT_EQ(owner_log().next_step, 3u) << "the menu stayed open after both clicks";
}

TEST_F(MenuTest, ReturnCommandAnswersTheIdAndPostsNothing) {
  HMENU m = file_menu();
  steps({[](HWND popup) { hl::click(popup, item_point(kFileKinds, 0)); }});
  EXPECT_EQ(TrackPopupMenu(m, TPM_RETURNCMD, 100, 100, 0, parent_, nullptr), 101);
  idle();
  EXPECT_TRUE(owner_log().commands().empty());
}

TEST_F(MenuTest, NoNotifyTellsTheOwnerNothing) {
  HMENU m = file_menu();
  steps({[](HWND popup) { hl::click(popup, item_point(kFileKinds, 0)); }});
  EXPECT_TRUE(TrackPopupMenu(m, TPM_NONOTIFY, 100, 100, 0, parent_, nullptr));
  idle();
  EXPECT_TRUE(owner_log().messages.empty());
  EXPECT_EQ(owner_log().next_step, 1u);
}

TEST_F(MenuTest, RightButtonChoosesOnlyWithRightButtonFlag) {
  HMENU m = file_menu();
  steps({[](HWND popup) { hl::click(popup, item_point(kFileKinds, 4), hl::Button::right); },
         [](HWND) { hl::key_press(VK_ESCAPE); }});
  EXPECT_EQ(TrackPopupMenu(m, TPM_RETURNCMD, 100, 100, 0, parent_, nullptr), 0);
  steps({[](HWND popup) { hl::click(popup, item_point(kFileKinds, 4), hl::Button::right); }});
  owner_log().next_step = 0;
  EXPECT_EQ(TrackPopupMenu(m, TPM_RETURNCMD | TPM_RIGHTBUTTON, 100, 100, 0, parent_, nullptr), 104);
}

TEST_F(MenuTest, KeptOnScreenAtTheEdgesAndAligned) {
  HMENU m = file_menu();
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  RECT shown{};
  auto look = [&](HWND popup) {
    GetWindowRect(popup, &shown);
    hl::key_press(VK_ESCAPE);
  };
  steps({look});
  TrackPopupMenu(m, 0, sw - 5, sh - 5, 0, parent_, nullptr);
  int w = shown.right - shown.left, h = shown.bottom - shown.top;
  EXPECT_EQ(shown.right, sw - 5) << "flipped to the left of the point";
  EXPECT_EQ(shown.bottom, sh - 5) << "flipped above the point";

  steps({look});
  owner_log().next_step = 0;
  TrackPopupMenu(m, TPM_RIGHTALIGN | TPM_BOTTOMALIGN, 400, 300, 0, parent_, nullptr);
  EXPECT_EQ(shown.right, 400);
  EXPECT_EQ(shown.bottom, 300);

  steps({look});
  owner_log().next_step = 0;
  TrackPopupMenu(m, TPM_CENTERALIGN, 2, 2, 0, parent_, nullptr);
  EXPECT_EQ(shown.left, 0) << "shifted back onto the screen";
  EXPECT_EQ(shown.right - shown.left, w);
  EXPECT_EQ(shown.bottom - shown.top, h);
}

TEST_F(MenuTest, SubMenuOpensByRightKeyAndByHover) {
  HMENU sub = CreatePopupMenu();
  AppendMenuA(sub, MF_STRING, 201, "Alpha");
  AppendMenuA(sub, MF_STRING, 202, "Beta");
  HMENU m = CreatePopupMenu();
  menus_.push_back(m);
  AppendMenuA(m, MF_STRING, 200, "First");
  AppendMenuA(m, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "More");
  HWND child = nullptr;
  RECT child_rect{};
  steps({[](HWND) {
           hl::key_press(VK_DOWN);
           hl::key_press(VK_DOWN);
           hl::key_press(VK_RIGHT);  // opens "More" with Alpha selected
         },
         [&](HWND popup) {
           child = popup;
           GetWindowRect(popup, &child_rect);
           hl::key_press(VK_DOWN);
           hl::key_press(VK_RETURN);
         }});
  TrackPopupMenu(m, 0, 100, 100, 0, parent_, nullptr);
  idle();
  EXPECT_EQ(owner_log().commands(), (std::vector<WPARAM>{202}));
  EXPECT_EQ(class_of(child), "") << "the sub-menu window is destroyed afterwards";
  EXPECT_GE(child_rect.left, 100 + 60) << "the sub-menu opens to the right";

  // Hover opens it too; a click in it chooses.
  owner_log() = OwnerLog{};
  steps({[](HWND popup) { hl::mouse_move(popup, item_point("ii", 1)); },
         [&](HWND popup) {
           GetWindowRect(popup, &child_rect);
           hl::click(popup, item_point("ii", 0));
         }});
  TrackPopupMenu(m, 0, 100, 100, 0, parent_, nullptr);
  idle();
  EXPECT_EQ(owner_log().commands(), (std::vector<WPARAM>{201}));
  EXPECT_EQ(child_rect.top, 100 + 19) << "lined up with its item";
  int popups = 0;
  for (const auto& s : owner_log().messages)
    if (s.msg == WM_INITMENUPOPUP && reinterpret_cast<HMENU>(s.wp) == sub) {
      ++popups;
      EXPECT_EQ(LOWORD(s.lp), 1) << "the position of the item that opened it";
    }
  EXPECT_EQ(popups, 1);
}

TEST_F(MenuTest, OwnerDrawnItemsAreMeasuredAndDrawnByTheOwner) {
  HMENU m = CreatePopupMenu();
  menus_.push_back(m);
  AppendMenuA(m, MF_STRING, 301, "plain");
  AppendMenuA(m, MF_STRING, 302, "drawn");
  ASSERT_TRUE(ModifyMenuA(m, 302, MF_BYCOMMAND | MF_OWNERDRAW, 302, reinterpret_cast<LPCSTR>(0x1234)));
  RECT shown{};
  COLORREF drawn_pixel = 0;
  steps({[&](HWND popup) {
    GetWindowRect(popup, &shown);
    drawn_pixel = hl::read_pixel(popup, 10, 3 + 19 + 12);
    hl::key_press(VK_ESCAPE);
  }});
  TrackPopupMenu(m, 0, 100, 100, 0, parent_, nullptr);
  ASSERT_EQ(owner_log().measured.size(), 1u);
  EXPECT_EQ(owner_log().measured[0].CtlType, ODT_MENU);
  EXPECT_EQ(owner_log().measured[0].itemID, 302u);
  EXPECT_EQ(owner_log().measured[0].itemData, 0x1234u);
  EXPECT_EQ(shown.bottom - shown.top, 3 + 19 + 24 + 3) << "the owner's height is used";
  EXPECT_GE(shown.right - shown.left, 120 + 6);
  ASSERT_FALSE(owner_log().drawn.empty());
  const DRAWITEMSTRUCT& d = owner_log().drawn[0];
  EXPECT_EQ(d.CtlType, ODT_MENU);
  EXPECT_EQ(d.itemID, 302u);
  EXPECT_EQ(d.itemData, 0x1234u);
  EXPECT_EQ(reinterpret_cast<HMENU>(d.hwndItem), m);
  EXPECT_EQ(d.rcItem.top, 3 + 19);
  EXPECT_EQ(drawn_pixel, GetSysColor(COLOR_WINDOW)) << "what the owner drew is on screen";
}

TEST_F(MenuTest, ShortcutTextIsDrawnRightAlignedAndGrayedIsEtched) {
  HMENU m = file_menu();
  int right_ink = 0, middle_ink = 0, left_ink = 0;
  COLORREF gray_ink = RGB(255, 255, 255), etch = 0;
  int width = 0;
  steps({[&](HWND popup) {
    RECT r;
    GetClientRect(popup, &r);
    width = r.right;
    auto dark = [&](int x0, int x1, int y0, int y1) {
      int n = 0;
      for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
          COLORREF c = hl::read_pixel(popup, x, y);
          if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 200) ++n;
        }
      return n;
    };
    // Item 0: "Open" at the left, "Ctrl+O" ending at the arrow column.
    left_ink = dark(21, 60, 5, 20);
    right_ink = dark(r.right - 3 - 18 - 14, r.right - 3 - 18, 5, 20);
    middle_ink = dark(62, r.right - 3 - 18 - 45, 5, 20);
    // Item 2 (grayed): shadow-coloured ink with a white etch.
    for (int y = 3 + 19 + 9; y < 3 + 19 + 9 + 19; ++y)
      for (int x = 21; x < 70; ++x) {
        COLORREF c = hl::read_pixel(popup, x, y);
        if (c == GetSysColor(COLOR_3DSHADOW)) gray_ink = c;
        if (c == GetSysColor(COLOR_3DHILIGHT)) etch = c;
      }
    hl::key_press(VK_ESCAPE);
  }});
  TrackPopupMenu(m, 0, 100, 100, 0, parent_, nullptr);
  EXPECT_GT(left_ink, 10) << "caption at the left";
  EXPECT_GT(right_ink, 10) << "shortcut ink right before the arrow column";
  EXPECT_EQ(middle_ink, 0) << "a gap between caption and shortcut (width " << width << ")";
  EXPECT_EQ(gray_ink, GetSysColor(COLOR_3DSHADOW));
  EXPECT_EQ(etch, GetSysColor(COLOR_3DHILIGHT));
}

TEST_F(MenuTest, RefusedWhileAnotherMenuRunsAndForBadHandles) {
  HMENU m = file_menu();
  BOOL nested = TRUE;
  steps({[&](HWND) {
    nested = TrackPopupMenu(m, TPM_RETURNCMD, 10, 10, 0, parent_, nullptr);
    hl::key_press(VK_ESCAPE);
  }});
  TrackPopupMenu(m, 0, 100, 100, 0, parent_, nullptr);
  EXPECT_FALSE(nested);
  HMENU gone = CreatePopupMenu();
  DestroyMenu(gone);
  SetLastError(0);
  EXPECT_FALSE(TrackPopupMenu(gone, 0, 10, 10, 0, parent_, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_MENU_HANDLE);
  EXPECT_FALSE(TrackPopupMenu(m, 0, 10, 10, 0, reinterpret_cast<HWND>(0x7777), nullptr));
  EXPECT_FALSE(EndMenu()) << "no menu runs now";
}

}  // namespace
}  // namespace menu_test
