// Window scroll bars (the helper the list view and the edit control share).
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/api.h"
#include "platform/api/scrollbar.h"
#include "platform/controls/scrollbar_nc.h"
#include "platform/winsys/headless.h"

namespace {

namespace hl = platform::headless;

std::vector<int>& scroll_codes() {
  static std::vector<int> codes;
  return codes;
}

// The scroll code on which the window destroys itself (-1: never).
int g_destroy_on = -1;

LRESULT CALLBACK scrolled_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT r = 0;
  if (platform::controls::scrollbar::handle_message(hwnd, msg, wp, lp, r)) return r;
  if (msg == WM_VSCROLL) {
    scroll_codes().push_back(LOWORD(wp));
    if (LOWORD(wp) == g_destroy_on) {
      DestroyWindow(hwnd);
      return 0;
    }
    if (LOWORD(wp) == SB_LINEDOWN) SetScrollPos(hwnd, SB_VERT, GetScrollPos(hwnd, SB_VERT) + 1, TRUE);
    if (LOWORD(wp) == SB_THUMBTRACK) SetScrollPos(hwnd, SB_VERT, HIWORD(wp), TRUE);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

class ScrollBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(hl::active());
    hl::reset_input();
    static const bool registered = [] {
      WNDCLASSA wc{};
      wc.lpfnWndProc = scrolled_proc;
      wc.lpszClassName = "ScrollBarTestWindow";
      wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
      return RegisterClassA(&wc) != 0;
    }();
    ASSERT_TRUE(registered);
    scroll_codes().clear();
    g_destroy_on = -1;
    top_ = CreateWindowExA(0, "ScrollBarTestWindow", "bars", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_VSCROLL,
                           30, 30, 300, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(top_, nullptr);
    hl::run_until_idle();
  }
  void TearDown() override {
    g_destroy_on = -1;
    if (IsWindow(top_)) DestroyWindow(top_);
    hl::run_until_idle();
  }
  SCROLLINFO info() {
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(top_, SB_VERT, &si);
    return si;
  }
  HWND top_ = nullptr;
};

TEST_F(ScrollBarTest, PositionIsClampedToTheLastPage) {
  SCROLLINFO si{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 500, 0};
  EXPECT_EQ(SetScrollInfo(top_, SB_VERT, &si, TRUE), 90);
  EXPECT_EQ(info().nPos, 90);
  EXPECT_EQ(SetScrollPos(top_, SB_VERT, -5, TRUE), 90);
  EXPECT_EQ(GetScrollPos(top_, SB_VERT), 0);
  int lo = -1;
  int hi = -1;
  ASSERT_TRUE(GetScrollRange(top_, SB_VERT, &lo, &hi));
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 99);
}

TEST_F(ScrollBarTest, BarShowsOnlyWhenThePageDoesNotCoverTheRange) {
  RECT with_bar{};
  SCROLLINFO si{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE, 0, 99, 10, 0, 0};
  SetScrollInfo(top_, SB_VERT, &si, TRUE);
  GetClientRect(top_, &with_bar);
  EXPECT_TRUE(GetWindowLongA(top_, GWL_STYLE) & WS_VSCROLL);
  si.nPage = 100;
  SetScrollInfo(top_, SB_VERT, &si, TRUE);
  EXPECT_FALSE(GetWindowLongA(top_, GWL_STYLE) & WS_VSCROLL);
  RECT without{};
  GetClientRect(top_, &without);
  EXPECT_EQ(without.right - with_bar.right, platform::controls::scrollbar::bar_width());
  si.fMask |= SIF_DISABLENOSCROLL;
  SetScrollInfo(top_, SB_VERT, &si, TRUE);
  EXPECT_TRUE(GetWindowLongA(top_, GWL_STYLE) & WS_VSCROLL);
}

TEST_F(ScrollBarTest, BadArgumentsFail) {
  SCROLLINFO si{sizeof(SCROLLINFO), SIF_ALL, 0, 10, 1, 0, 0};
  EXPECT_EQ(SetScrollInfo(top_, SB_CTL, &si, TRUE), 0);
  EXPECT_FALSE(GetScrollInfo(top_, 7, &si));
  EXPECT_FALSE(GetScrollInfo(reinterpret_cast<HWND>(0x1234), SB_VERT, &si));
  EXPECT_EQ(SetScrollInfo(top_, SB_VERT, nullptr, TRUE), 0);
  EXPECT_FALSE(ShowScrollBar(reinterpret_cast<HWND>(0x1234), SB_VERT, TRUE));
}

TEST_F(ScrollBarTest, ArrowClicksAndThumbDragsReachTheWindow) {
  SCROLLINFO si{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 0, 0};
  SetScrollInfo(top_, SB_VERT, &si, TRUE);
  hl::run_until_idle();
  RECT client{};
  GetClientRect(top_, &client);
  ASSERT_TRUE(hl::click(top_, POINT{client.right + 8, client.bottom - 5}));
  hl::run_until_idle();
  ASSERT_GE(scroll_codes().size(), 2u);
  EXPECT_EQ(scroll_codes().front(), SB_LINEDOWN);
  EXPECT_EQ(scroll_codes().back(), SB_ENDSCROLL);
  EXPECT_EQ(GetScrollPos(top_, SB_VERT), 1);
  hl::advance_clock(1000);
  scroll_codes().clear();
  const POINT thumb{client.right + 8, 17 + 4};
  hl::mouse_move(top_, thumb);
  hl::mouse_button(top_, hl::Button::left, true, thumb);
  hl::mouse_move(top_, POINT{thumb.x, client.bottom + 30});
  hl::mouse_button(top_, hl::Button::left, false, POINT{thumb.x, client.bottom + 30});
  hl::run_until_idle();
  ASSERT_FALSE(scroll_codes().empty());
  EXPECT_EQ(scroll_codes().back(), SB_ENDSCROLL);
  EXPECT_EQ(GetScrollPos(top_, SB_VERT), 90);
}

// The bars' state outlives a window that its own scroll handler destroys in the middle of a
// click or a drag: the tracking ends, the capture and the repeat timer go with the window.
TEST_F(ScrollBarTest, WindowDestroyedByItsScrollHandlerEndsTheTrackingCleanly) {
  for (int code : {SB_LINEDOWN, SB_THUMBTRACK, SB_THUMBPOSITION, SB_ENDSCROLL}) {
    SCOPED_TRACE(code);
    if (!IsWindow(top_))
      top_ = CreateWindowExA(0, "ScrollBarTestWindow", "bars", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_VSCROLL,
                             30, 30, 300, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(top_, nullptr);
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 0, 0};
    SetScrollInfo(top_, SB_VERT, &si, TRUE);
    hl::run_until_idle();
    hl::advance_clock(1000);
    scroll_codes().clear();
    g_destroy_on = code;
    RECT client{};
    GetClientRect(top_, &client);
    // A click on the lower arrow for the line code, a drag of the thumb for the others.
    const bool drag = code != SB_LINEDOWN;
    const POINT from{client.right + 8, drag ? 17 + 4 : client.bottom - 5};
    const POINT to{from.x, drag ? client.bottom + 30 : from.y};
    const HWND window = top_;
    hl::mouse_move(window, from);
    hl::mouse_button(window, hl::Button::left, true, from);
    hl::mouse_move(window, to);
    hl::mouse_button(window, hl::Button::left, false, to);
    hl::advance_clock(1000);
    hl::run_until_idle();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(GetCapture(), nullptr);
    ASSERT_FALSE(scroll_codes().empty());
    EXPECT_NE(std::find(scroll_codes().begin(), scroll_codes().end(), code), scroll_codes().end());
  }
}

}  // namespace
