// The caret: drawn by inverting pixels, hidden and shown in nested pairs, blinking on its timer,
// off the screen while the window paints, and gone with its window.
#include <gtest/gtest.h>

#include <iterator>

#include "platform/winsys/headless.h"
#include "tests/platform/winsys/winsys_fixture.h"
#include "tests/support/manual_clock.h"

namespace hl = platform::headless;
using lyr::test::log;

namespace {

constexpr COLORREF kPaper = RGB(200, 120, 40);
constexpr COLORREF kInverted = RGB(55, 135, 215);

class CaretTest : public lyr::test::WinsysTest {
 protected:
  void SetUp() override {
    if (!hl::active()) GTEST_SKIP() << "needs LYRICS_DISPLAY=headless";
    WinsysTest::SetUp();
    hwnd_ = make(WS_POPUP | WS_VISIBLE, 40, 40, 120, 80);
    ASSERT_TRUE(hwnd_);
    hl::run_until_idle();
    fill_paper();
  }
  void TearDown() override {
    DestroyCaret();
    SetCaretBlinkTime(530);
    if (hl::active()) hl::run_until_idle();
    WinsysTest::TearDown();
  }
  void fill_paper() {
    HDC dc = GetDC(hwnd_);
    HBRUSH b = CreateSolidBrush(kPaper);
    RECT r{0, 0, 120, 80};
    FillRect(dc, &r, b);
    DeleteObject(b);
    ReleaseDC(hwnd_, dc);
  }
  COLORREF at(int x, int y) { return hl::read_pixel(hwnd_, x, y); }
  HWND hwnd_ = nullptr;
};

TEST_F(CaretTest, ShowInvertsExactlyItsRectangle) {
  ASSERT_TRUE(CreateCaret(hwnd_, nullptr, 2, 10));
  ASSERT_TRUE(SetCaretPos(20, 30));
  EXPECT_EQ(at(20, 30), kPaper) << "a new caret starts hidden";
  ASSERT_TRUE(ShowCaret(hwnd_));
  EXPECT_EQ(at(20, 30), kInverted);
  EXPECT_EQ(at(21, 39), kInverted);
  EXPECT_EQ(at(22, 30), kPaper);
  EXPECT_EQ(at(20, 40), kPaper);
  EXPECT_EQ(at(19, 30), kPaper);

  // Moving takes it off the old place and draws it at the new one.
  ASSERT_TRUE(SetCaretPos(50, 10));
  EXPECT_EQ(at(20, 30), kPaper);
  EXPECT_EQ(at(50, 10), kInverted);
  POINT p{};
  ASSERT_TRUE(GetCaretPos(&p));
  EXPECT_EQ(p.x, 50);
  EXPECT_EQ(p.y, 10);

  ASSERT_TRUE(DestroyCaret());
  EXPECT_EQ(at(50, 10), kPaper);
  EXPECT_FALSE(GetCaretPos(&p));
  EXPECT_FALSE(DestroyCaret());
}

TEST_F(CaretTest, HideAndShowNest) {
  ASSERT_TRUE(CreateCaret(hwnd_, nullptr, 3, 3));
  ASSERT_TRUE(SetCaretPos(5, 5));
  ASSERT_TRUE(ShowCaret(nullptr));
  EXPECT_EQ(at(5, 5), kInverted);
  ASSERT_TRUE(HideCaret(hwnd_));
  ASSERT_TRUE(HideCaret(nullptr));
  EXPECT_EQ(at(5, 5), kPaper);
  ASSERT_TRUE(ShowCaret(hwnd_));
  EXPECT_EQ(at(5, 5), kPaper) << "one hide is still outstanding";
  ASSERT_TRUE(ShowCaret(hwnd_));
  EXPECT_EQ(at(5, 5), kInverted);
  EXPECT_FALSE(ShowCaret(hwnd_)) << "shown already";
  EXPECT_EQ(at(5, 5), kInverted);
  // Hiding while hidden never inverts twice.
  ASSERT_TRUE(HideCaret(hwnd_));
  ASSERT_TRUE(HideCaret(hwnd_));
  EXPECT_EQ(at(5, 5), kPaper);
}

TEST_F(CaretTest, BadWindowsAndOtherOwnersAreRefused) {
  EXPECT_FALSE(CreateCaret(nullptr, nullptr, 1, 1));
  EXPECT_FALSE(CreateCaret(reinterpret_cast<HWND>(0x5A5A), nullptr, 1, 1));
  EXPECT_FALSE(CreateCaret(hwnd_, nullptr, -1, 4));
  EXPECT_FALSE(ShowCaret(hwnd_)) << "no caret yet";
  EXPECT_FALSE(SetCaretPos(1, 1));
  HWND other = make(WS_POPUP | WS_VISIBLE, 200, 40, 50, 50);
  ASSERT_TRUE(CreateCaret(hwnd_, nullptr, 1, 1));
  EXPECT_FALSE(ShowCaret(other));
  EXPECT_FALSE(HideCaret(other));
  EXPECT_FALSE(SetCaretBlinkTime(0));
  EXPECT_EQ(GetCaretBlinkTime(), 530u);
}

TEST_F(CaretTest, BlinksOnItsTimerWithoutReachingTheWindow) {
  lyr::test::ManualClock clock;
  ASSERT_TRUE(clock.active());
  ASSERT_TRUE(SetCaretBlinkTime(30));
  EXPECT_EQ(GetCaretBlinkTime(), 30u);
  ASSERT_TRUE(CreateCaret(hwnd_, nullptr, 2, 2));
  ASSERT_TRUE(SetCaretPos(8, 8));
  ASSERT_TRUE(ShowCaret(hwnd_));
  log().clear();
  // Each blink time turns it over once, counted from when it was last shown or moved.
  struct Step {
    void (*act)();
    DWORD advance;
    COLORREF seen;
  };
  const auto nothing = [] {};
  const auto move = [] {
    SetCaretPos(9, 9);
    SetCaretPos(8, 8);
  };
  const Step steps[] = {
      {nothing, 29, kInverted},  // 29 ms after it was shown: still on
      {nothing, 1, kPaper},      // 30
      {nothing, 29, kPaper},     // 59
      {nothing, 1, kInverted},   // 60
      {nothing, 15, kInverted},  // 75
      {move, 29, kInverted},     // moved at 75: on for a whole period from there, 104
      {nothing, 1, kPaper},      // 105
      {nothing, 30, kInverted},  // 135
      {nothing, 90, kPaper},     // 225, three periods late: turned over once
  };
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    steps[i].act();
    clock.advance(steps[i].advance);
    hl::run_until_idle();
    EXPECT_EQ(at(8, 8), steps[i].seen) << "step " << i;
  }
  for (const auto& e : log().entries())
    EXPECT_NE(e.message, static_cast<UINT>(WM_TIMER)) << "the blink timer is the system's own";

  // A hidden caret does not blink back on.
  ASSERT_TRUE(HideCaret(hwnd_));
  for (int i = 0; i < 3; ++i) {
    clock.advance(30);
    hl::run_until_idle();
    EXPECT_EQ(at(8, 8), kPaper) << i;
  }
}

TEST_F(CaretTest, OffWhilePaintingAndBackAfter) {
  ASSERT_TRUE(CreateCaret(hwnd_, nullptr, 2, 4));
  ASSERT_TRUE(SetCaretPos(10, 10));
  ASSERT_TRUE(ShowCaret(hwnd_));
  PAINTSTRUCT ps;
  ASSERT_TRUE(BeginPaint(hwnd_, &ps));
  EXPECT_EQ(at(10, 10), kPaper);
  EndPaint(hwnd_, &ps);
  EXPECT_EQ(at(10, 10), kInverted);

  // Replaced during a paint: the new caret keeps its own hidden state past EndPaint.
  ASSERT_TRUE(BeginPaint(hwnd_, &ps));
  ASSERT_TRUE(CreateCaret(hwnd_, nullptr, 2, 4));
  ASSERT_TRUE(SetCaretPos(30, 30));
  EndPaint(hwnd_, &ps);
  EXPECT_EQ(at(10, 10), kPaper);
  EXPECT_EQ(at(30, 30), kPaper) << "a new caret starts hidden";
  ASSERT_TRUE(ShowCaret(hwnd_));
  EXPECT_EQ(at(30, 30), kInverted);
  ASSERT_TRUE(SetCaretPos(10, 10));

  // A full repaint over it: the caret comes back as the inverse of the fresh background.
  InvalidateRect(hwnd_, nullptr, TRUE);
  hl::run_until_idle();
  const COLORREF bg = at(60, 60);
  const COLORREF expected = RGB(255 - GetRValue(bg), 255 - GetGValue(bg), 255 - GetBValue(bg));
  EXPECT_EQ(at(10, 10), expected);
}

TEST_F(CaretTest, DiesWithItsWindow) {
  HWND owner = make(WS_POPUP | WS_VISIBLE, 200, 40, 50, 50);
  ASSERT_TRUE(CreateCaret(owner, nullptr, 1, 1));
  ASSERT_TRUE(ShowCaret(owner));
  DestroyWindow(owner);
  POINT p;
  EXPECT_FALSE(GetCaretPos(&p));
  EXPECT_FALSE(HideCaret(nullptr));
  hl::run_until_idle();
  ASSERT_TRUE(CreateCaret(hwnd_, nullptr, 1, 1));
  EXPECT_TRUE(ShowCaret(hwnd_));
}

}  // namespace
