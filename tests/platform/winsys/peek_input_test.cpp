// PeekMessageA on the display thread: input that arrives while it pumps the display is returned
// by the same call, however many display events it takes to produce a matching message.
#include <gtest/gtest.h>

#include <vector>

#include "platform/winsys/headless.h"
#include "tests/platform/winsys/winsys_fixture.h"

namespace hl = platform::headless;

namespace {

class PeekInput : public lyr::test::WinsysTest {
 protected:
  void SetUp() override {
    if (!hl::active()) GTEST_SKIP() << "needs LYRICS_DISPLAY=headless";
    WinsysTest::SetUp();
    hl::reset_input();
    hl::advance_clock(1000);
    top_ = make(WS_POPUP | WS_VISIBLE, 50, 50, 200, 150);
    ASSERT_TRUE(top_);
    hl::run_until_idle();
  }
  void TearDown() override {
    if (hl::active()) hl::run_until_idle();
    WinsysTest::TearDown();
  }
  HWND top_ = nullptr;
};

TEST_F(PeekInput, FilteredPeekReturnsClickThatNeedsSeveralEvents) {
  // A click is a move, a press and a release: the press comes out of the second event.
  ASSERT_TRUE(hl::click(top_, {10, 12}));
  MSG m{};
  ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_LBUTTONDOWN, WM_LBUTTONUP, PM_REMOVE));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_LBUTTONDOWN));
  EXPECT_EQ(m.hwnd, top_);
  EXPECT_EQ(GET_X_LPARAM(m.lParam), 10);
  EXPECT_EQ(GET_Y_LPARAM(m.lParam), 12);
  ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_LBUTTONDOWN, WM_LBUTTONUP, PM_REMOVE));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_LBUTTONUP));
}

TEST_F(PeekInput, KeyReleaseFoundBehindItsPress) {
  SetFocus(top_);
  hl::run_until_idle();
  ASSERT_TRUE(hl::key_press('A'));
  MSG m{};
  ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_KEYUP, WM_KEYUP, PM_REMOVE));
  EXPECT_EQ(m.wParam, static_cast<WPARAM>('A'));
  // The press is still waiting, untouched by the filtered look.
  ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
  EXPECT_EQ(m.wParam, static_cast<WPARAM>('A'));
}

TEST_F(PeekInput, PlainLoopStopsOnlyWhenEverythingIsTaken) {
  // The cursor already rests on the point, so the click's move posts nothing.
  ASSERT_TRUE(hl::mouse_move(top_, {30, 40}));
  hl::run_until_idle();
  ASSERT_TRUE(hl::click(top_, {30, 40}));
  std::vector<UINT> seen;
  MSG m{};
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    if (m.message == WM_LBUTTONDOWN || m.message == WM_LBUTTONUP) seen.push_back(m.message);
    DispatchMessageA(&m);
  }
  EXPECT_EQ(seen, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
  EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE));
}

}  // namespace
