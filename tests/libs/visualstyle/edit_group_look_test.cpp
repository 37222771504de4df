// The edit and group box painters read back: the edit's two frames by state and its buddy line,
// the group box's frame, rounded corners, caption band and caption placement.
#include "platform/api/edit.h"
#include "tests/libs/visualstyle/style_fixture.h"

namespace vs_test {
namespace {

namespace vs = libs::visualstyle;

using EditLook = StyleTest;

TEST_F(EditLook, FramesByStyleAndState) {
  const COLORREF face = vs::button_face();
  for (int style = 1; style <= 3; ++style) {
    SCOPED_TRACE(style);
    vs::set_visual_style(style);
    HWND plain = make("EDIT", WS_BORDER, {10, 10, 130, 34}, "text");
    HWND sunken = make("EDIT", 0, {10, 40, 130, 64}, "text", WS_EX_CLIENTEDGE);
    HWND read_only = make("EDIT", WS_BORDER | ES_READONLY, {10, 70, 130, 94}, "text");
    HWND disabled = make("EDIT", WS_BORDER | WS_DISABLED, {10, 100, 130, 124}, "text");
    idle();
    const COLORREF colour = vs::edit_frame_colour(style);
    for (HWND e : {plain, sunken, read_only}) {
      EXPECT_TRUE(same_colour(window_pixel(e, 0, 12), colour));
      EXPECT_TRUE(same_colour(window_pixel(e, 60, 23), colour));
      EXPECT_TRUE(same_colour(window_pixel(e, 119, 0), colour));
    }
    EXPECT_TRUE(same_colour(window_pixel(plain, 1, 12), vs::window_colour()));
    EXPECT_TRUE(same_colour(window_pixel(sunken, 60, 1), vs::window_colour()));
    EXPECT_TRUE(same_colour(window_pixel(read_only, 1, 12), face)) << "read-only when attached";
    EXPECT_TRUE(same_colour(window_pixel(disabled, 0, 12), vs::darker(face, 0x202020)));
    EXPECT_TRUE(same_colour(window_pixel(disabled, 118, 12), face));
    for (HWND e : {plain, sunken, read_only, disabled}) DestroyWindow(e);
  }
}

TEST_F(EditLook, EnablingRepaintsAndTypingKeepsTheFrame) {
  vs::set_visual_style(1);
  HWND edit = make("EDIT", WS_BORDER | WS_DISABLED, {10, 10, 130, 34});
  idle();
  EnableWindow(edit, TRUE);
  SetFocus(edit);
  platform::headless::text("abc");
  idle();
  char typed[8] = {};
  GetWindowTextA(edit, typed, sizeof typed);
  EXPECT_STREQ(typed, "abc") << "the edit still edits";
  EXPECT_TRUE(same_colour(window_pixel(edit, 0, 12), vs::edit_frame_colour(1)));
  EXPECT_TRUE(same_colour(window_pixel(edit, 1, 12), vs::window_colour()));
}

TEST_F(EditLook, UnborderedEditsAreLeftAlone) {
  HWND edit = make("EDIT", 0, {10, 10, 130, 34});
  idle();
  const COLORREF before = window_pixel(edit, 0, 12);
  vs::set_visual_style(2);
  idle();
  EXPECT_TRUE(styled(edit));
  EXPECT_TRUE(same_colour(window_pixel(edit, 0, 12), before));
}

TEST_F(EditLook, BuddyLineOnTheUpDownSide) {
  HWND right_edit = make("EDIT", WS_BORDER, {10, 10, 100, 34});
  HWND left_edit = make("EDIT", WS_BORDER, {150, 10, 240, 34});
  HWND right = make("msctls_updown32", UDS_ALIGNRIGHT, {0, 0, 16, 24});
  HWND left = make("msctls_updown32", UDS_ALIGNLEFT, {0, 0, 16, 24});
  SendMessageA(right, UDM_SETBUDDY, reinterpret_cast<WPARAM>(right_edit), 0);
  SendMessageA(left, UDM_SETBUDDY, reinterpret_cast<WPARAM>(left_edit), 0);
  idle();
  vs::set_visual_style(3);
  idle();
  EXPECT_EQ(flags_of(right_edit) & (vs::flag::kUpDownLeft | vs::flag::kUpDownRight), vs::flag::kUpDownRight);
  EXPECT_EQ(flags_of(left_edit) & (vs::flag::kUpDownLeft | vs::flag::kUpDownRight), vs::flag::kUpDownLeft);
  RECT r{};
  GetWindowRect(right_edit, &r);
  const int w = r.right - r.left;
  EXPECT_TRUE(same_colour(window_pixel(right_edit, w - 1, 12), vs::kWhite)) << "joined on the right";
  EXPECT_TRUE(same_colour(window_pixel(right_edit, 0, 12), vs::edit_frame_colour(3)));
  GetWindowRect(left_edit, &r);
  EXPECT_TRUE(same_colour(window_pixel(left_edit, 0, 12), vs::kWhite)) << "joined on the left";
  EXPECT_TRUE(same_colour(window_pixel(left_edit, r.right - r.left - 1, 12), vs::edit_frame_colour(3)));
  EXPECT_EQ(flags_of(right) & vs::flag::kAlignedRight, vs::flag::kAlignedRight);
}

using GroupBoxLook = StyleTest;

// The rows of the frame's top edge: the first frame-coloured pixel down the middle column.
int frame_top(HWND box, int x) {
  for (int y = 0; y < 30; ++y)
    if (window_pixel(box, x, y) == vs::kGroupFrameColour) return y;
  return -1;
}

int first_ink_column(HWND box, int height) {
  for (int x = 0; x < 200; ++x)
    for (int y = 0; y < height; ++y)
      if (controls_test::luminance(window_pixel(box, x, y)) < 100) return x;
  return -1;
}

TEST_F(GroupBoxLook, FrameCornersBandAndCaption) {
  for (int style = 1; style <= 3; ++style) {
    SCOPED_TRACE(style);
    vs::set_visual_style(style);
    HWND box = make("BUTTON", BS_GROUPBOX, {10, 10, 210, 130}, "Cover");
    idle();
    const int top = frame_top(box, 100);
    ASSERT_GT(top, 2) << "the frame hangs from the caption's middle";
    EXPECT_TRUE(same_colour(window_pixel(box, 0, 60), vs::kGroupFrameColour));
    EXPECT_TRUE(same_colour(window_pixel(box, 199, 60), vs::kGroupFrameColour));
    EXPECT_TRUE(same_colour(window_pixel(box, 100, 119), vs::kGroupFrameColour));
    EXPECT_TRUE(same_colour(window_pixel(box, 0, top), vs::button_face())) << "rounded corner";
    EXPECT_TRUE(same_colour(window_pixel(box, 1, top + 1), vs::kGroupFrameColour));
    EXPECT_TRUE(same_colour(window_pixel(box, 199, 119), vs::button_face()));
    EXPECT_TRUE(same_colour(window_pixel(box, 1, 60), vs::button_face())) << "2-pixel border";
    EXPECT_TRUE(same_colour(window_pixel(box, 180, 1), vs::button_face())) << "caption band";
    EXPECT_TRUE(same_colour(window_pixel(box, 9, top), vs::button_face()))
        << "the caption interrupts the frame";
    const int ink = first_ink_column(box, top * 2);
    EXPECT_GE(ink, 10);
    EXPECT_LE(ink, 14) << "caption 10 pixels in";
    DestroyWindow(box);
  }
}

TEST_F(GroupBoxLook, CaptionAlignmentAndCaptionlessFrame) {
  vs::set_visual_style(2);
  HWND left = make("BUTTON", BS_GROUPBOX, {10, 10, 210, 100}, "Cover");
  HWND centre = make("BUTTON", BS_GROUPBOX | BS_CENTER, {10, 110, 210, 200}, "Cover");
  HWND right = make("BUTTON", BS_GROUPBOX | BS_RIGHT, {220, 10, 420, 100}, "Cover");
  HWND bare = make("BUTTON", BS_GROUPBOX, {220, 110, 420, 200}, "");
  idle();
  const int l = first_ink_column(left, 20), c = first_ink_column(centre, 20), r = first_ink_column(right, 20);
  EXPECT_LT(l, c);
  EXPECT_LT(c, r);
  EXPECT_GT(c, 60) << "centred";
  EXPECT_LT(c, 100) << "centred";
  EXPECT_EQ(frame_top(bare, 100), frame_top(left, 100)) << "a sample text places the captionless frame";
  EXPECT_EQ(first_ink_column(bare, 20), -1);
}

}  // namespace
}  // namespace vs_test
