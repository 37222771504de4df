// What the window system tells the display about its top-level windows through the input sink.
#include <gtest/gtest.h>

#include "platform/api.h"
#include "platform/display/input_sink.h"
#include "tests/support/window_class.h"

namespace {

TEST(DisplaySink, DescribesCaptionedOwnedWindowsAndForgetsDestroyedOnes) {
  const char* cls = test_support::test_window_class("DisplaySinkWindow", DefWindowProcA);
  ASSERT_TRUE(cls);
  HWND owner = CreateWindowExA(0, cls, "owner", WS_OVERLAPPEDWINDOW, 10, 20, 300, 200, nullptr, nullptr,
                               nullptr, nullptr);
  // "歌词" in the program's code page.
  HWND dialog = CreateWindowExA(0, cls, "\xB8\xE8\xB4\xCA", WS_POPUP | WS_CAPTION | WS_SYSMENU, 40, 50, 200,
                                100, owner, nullptr, nullptr, nullptr);
  ASSERT_TRUE(owner && dialog);

  const platform::display::InputSink sink = platform::display::input_sink();
  platform::display::TopWindowFacts facts;
  ASSERT_TRUE(sink.describe(dialog, facts));
  EXPECT_EQ(facts.owner, owner);
  EXPECT_EQ(facts.title, "歌词");
  EXPECT_EQ(facts.rect.left, 40);
  EXPECT_EQ(facts.rect.bottom, 150);
  EXPECT_TRUE(facts.style & WS_CAPTION);
  // The native decorations replace the caption: more is taken off the top than off the sides.
  EXPECT_GT(facts.insets.top, facts.insets.left);
  EXPECT_GT(facts.insets.left, 0);

  DWORD style = static_cast<DWORD>(GetWindowLongA(owner, GWL_STYLE));
  SetWindowLongA(owner, GWL_STYLE, static_cast<LONG>(style & ~WS_CAPTION));
  ASSERT_TRUE(sink.describe(owner, facts));
  EXPECT_EQ(facts.owner, nullptr);
  EXPECT_EQ(facts.insets.top, 0);
  EXPECT_EQ(facts.insets.right, 0);

  sink.moved(dialog, {70, 80});
  RECT r{};
  GetWindowRect(dialog, &r);
  EXPECT_EQ(r.left, 70);
  EXPECT_EQ(r.right, 270);

  DestroyWindow(dialog);
  EXPECT_FALSE(sink.describe(dialog, facts));
  DestroyWindow(owner);
}

}  // namespace
