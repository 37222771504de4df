// The scroll bar hook of the default window procedure: bars are drawn for any window with the
// styles, and a click on a bar is tracked until the hook lets the capture go.
#include "platform/winsys/scroll_bar_hook.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "platform/controls/scrollbar_nc.h"
#include "platform/winsys/headless.h"
#include "tests/platform/winsys/winsys_fixture.h"

namespace hl = platform::headless;
using lyr::test::log;
namespace ws = platform::winsys;

namespace {

struct Seen {
  HWND hwnd;
  UINT msg;
  WPARAM wp;
};

std::vector<Seen>& seen() {
  static std::vector<Seen> v;
  return v;
}

// Stands in for the controls layer: paints through the default procedure like the real bars,
// captures on a click and lets go on the button's release.
bool fake_bars(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  seen().push_back({hwnd, msg, wp});
  switch (msg) {
    case WM_NCPAINT:
      result = DefWindowProcA(hwnd, msg, wp, lp);
      return true;
    case WM_NCLBUTTONDOWN:
      SetCapture(hwnd);
      result = 0;
      return true;
    case WM_MOUSEMOVE:
      return GetCapture() == hwnd;
    case WM_LBUTTONUP:
      ReleaseCapture();
      return true;
    default:
      return false;
  }
}

int count(UINT msg) {
  int n = 0;
  for (const Seen& s : seen()) n += s.msg == msg;
  return n;
}

class ScrollBarHook : public lyr::test::WinsysTest {
 protected:
  void SetUp() override {
    if (!hl::active()) GTEST_SKIP() << "needs LYRICS_DISPLAY=headless";
    WinsysTest::SetUp();
    hl::reset_input();
    hl::advance_clock(1000);
    saved_ = ws::scroll_bar_hooks();
    ws::set_scroll_bar_hooks({&fake_bars});
    seen().clear();
  }
  void TearDown() override {
    if (hl::active()) {
      hl::run_until_idle();
      ws::set_scroll_bar_hooks(saved_);
    }
    WinsysTest::TearDown();
  }
  ws::ScrollBarHooks saved_;
};

TEST_F(ScrollBarHook, FramePaintReachesTheHookOnceForWindowsWithBars) {
  HWND bars = make(WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_VISIBLE, 40, 40, 200, 150);
  HWND plain = make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 40, 200, 150);
  hl::run_until_idle();
  seen().clear();
  SendMessageA(bars, WM_NCPAINT, 1, 0);
  SendMessageA(plain, WM_NCPAINT, 1, 0);
  // The hook's own call back into the default procedure draws the frame only.
  ASSERT_EQ(count(WM_NCPAINT), 1);
  EXPECT_EQ(seen()[0].hwnd, bars);
}

TEST_F(ScrollBarHook, ClickOnBarIsTrackedUntilRelease) {
  HWND hwnd = make(WS_POPUP | WS_VSCROLL | WS_VISIBLE, 60, 60, 200, 150);
  hl::run_until_idle();
  RECT wr;
  GetWindowRect(hwnd, &wr);
  POINT bar{wr.right - 4, wr.top + 40};
  ASSERT_EQ(SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(bar.x, bar.y)), HTVSCROLL);
  seen().clear();
  log().clear();
  ASSERT_TRUE(hl::mouse_move(bar));
  ASSERT_TRUE(hl::mouse_button(hl::Button::left, true, bar));
  ASSERT_TRUE(hl::mouse_move(POINT{bar.x - 2, bar.y + 5}));
  ASSERT_TRUE(hl::mouse_button(hl::Button::left, false, POINT{bar.x - 2, bar.y + 5}));
  hl::run_until_idle();

  std::vector<UINT> order;
  for (const Seen& s : seen())
    if (s.hwnd == hwnd && s.msg != WM_NCPAINT && s.msg != WM_CAPTURECHANGED) order.push_back(s.msg);
  ASSERT_EQ(order, (std::vector<UINT>{WM_NCLBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP}));
  EXPECT_EQ(seen()[0].wp, static_cast<WPARAM>(HTVSCROLL));
  EXPECT_EQ(GetCapture(), nullptr);
  // The tracking loop kept the bar's messages from the window procedure.
  for (const auto& e : log().entries()) {
    EXPECT_NE(e.message, static_cast<UINT>(WM_LBUTTONUP));
    EXPECT_NE(e.message, static_cast<UINT>(WM_MOUSEMOVE));
  }
}

TEST_F(ScrollBarHook, OtherFrameClicksAndDestructionStayWithTheDefault) {
  HWND hwnd = make(WS_OVERLAPPEDWINDOW | WS_HSCROLL | WS_VISIBLE, 60, 60, 200, 150);
  hl::run_until_idle();
  seen().clear();
  DefWindowProcA(hwnd, WM_NCLBUTTONDOWN, HTNOWHERE, 0);
  EXPECT_EQ(count(WM_NCLBUTTONDOWN), 0);
  DestroyWindow(hwnd);
  EXPECT_EQ(count(WM_NCDESTROY), 1) << "the bars forget the window";
}

// The controls layer's bars behind the hook: a plain window (its procedure knows nothing of
// scroll bars) gets them drawn and gets WM_VSCROLL from a click on the down arrow.
TEST_F(ScrollBarHook, RealBarsWorkForAPlainWindow) {
  ws::set_scroll_bar_hooks({&platform::controls::scrollbar::handle_message});
  HWND hwnd = make(WS_POPUP | WS_VSCROLL | WS_VISIBLE, 60, 60, 200, 150);
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 0, 0};
  SetScrollInfo(hwnd, SB_VERT, &si, TRUE);
  hl::run_until_idle();
  RECT wr;
  GetWindowRect(hwnd, &wr);
  const int strip_x = wr.right - wr.left - 9;  // down the middle of the bar
  // SetScrollInfo draws the bar itself: wipe it so that only the frame paint can bring it back.
  HDC dc = GetWindowDC(hwnd);
  RECT strip{strip_x - 4, 0, strip_x + 4, wr.bottom - wr.top};
  FillRect(dc, &strip, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  ReleaseDC(hwnd, dc);
  SendMessageA(hwnd, WM_NCPAINT, 1, 0);
  dc = GetWindowDC(hwnd);
  std::set<COLORREF> colours;
  for (int y = 0; y < wr.bottom - wr.top; ++y) colours.insert(GetPixel(dc, strip_x, y));
  ReleaseDC(hwnd, dc);
  EXPECT_EQ(colours.count(GetSysColor(COLOR_BTNFACE)), 1u) << "the frame paint draws the bar";

  log().clear();
  const POINT down_arrow{wr.right - 8, wr.bottom - 8};
  ASSERT_TRUE(hl::mouse_move(down_arrow));
  ASSERT_TRUE(hl::mouse_button(hl::Button::left, true, down_arrow));
  ASSERT_TRUE(hl::mouse_button(hl::Button::left, false, down_arrow));
  hl::run_until_idle();
  bool line_down = false;
  for (const auto& e : log().entries())
    line_down |= e.hwnd == hwnd && e.message == WM_VSCROLL && LOWORD(e.wp) == SB_LINEDOWN;
  EXPECT_TRUE(line_down);
  EXPECT_EQ(GetCapture(), nullptr);
}

}  // namespace
