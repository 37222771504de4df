// The push button painter in every state of every style, read back pixel by pixel: the ring of
// button face, the frame, the rounded corners, the two gradient bands at their corners, the
// caption's colour and its shift while pressed.
#include <array>
#include <functional>

#include "libs/visualstyle/palette.h"
#include "tests/libs/visualstyle/style_fixture.h"

namespace vs_test {
namespace {

namespace hl = platform::headless;
namespace vs = libs::visualstyle;

constexpr int kW = 90;
constexpr int kH = 30;

// The styles' quads (0x00BBGGRR: top left, top right, bottom left, bottom right) for styles 1,
// 2 and 3, and their frame colours, written out as the styles define them.
using StyleQuads = std::array<Quad, 3>;
constexpr StyleQuads kPressed = {{{0xC1CCD1, 0xC1CCD1, 0xEEF1F2, 0xEEF1F2},
                                  {0xCEE3EF, 0xCEE3EF, 0xCEE3EF, 0xCEE3EF},
                                  {0xCEE3EF, 0xCEE3EF, 0xCEE3EF, 0xCEE3EF}}};
constexpr StyleQuads kOver = {{{0xCFF0FF, 0xCFF0FF, 0x0097E5, 0x0097E5},
                               {0xCFF0FF, 0xCFF0FF, 0x0097E5, 0x0097E5},
                               {0xCFF0FF, 0xCFF0FF, 0x0097E5, 0x0097E5}}};
constexpr StyleQuads kChecked = {{{0xBDCBD6, 0xC6CFD6, 0xEFF3F7, 0xEFF3F7},
                                  {0xBDCBD6, 0xC6CFD6, 0xEFF3F7, 0xEFF3F7},
                                  {0xBDCBD6, 0xC6CFD6, 0xEFF3F7, 0xEFF3F7}}};
constexpr StyleQuads kFocused = {{{0xFFE7CE, 0xFFE7CE, 0xEE8269, 0xEE8269},
                                  {0xCFF0FF, 0xCFF0FF, 0x0097E5, 0x0097E5},
                                  {0xFFE7CE, 0xFFE7CE, 0xEE8269, 0xEE8269}}};
constexpr StyleQuads kNormal = {{{0xFFFFFF, 0xFFFFFF, 0xD6DFE2, 0xD6DFE2},
                                 {0xFFFFFF, 0xFFFFFF, 0xD6DFE2, 0xD6DFE2},
                                 {0xFFFFFF, 0xFFFFFF, 0xD6DFE2, 0xD6DFE2}}};
constexpr StyleQuads kInnerPressed = {{{0xDEE3E7, 0xE7E7E7, 0xDEE3E7, 0xDEE3E7},
                                       {0xCEE3EF, 0xCEE3EF, 0xCEE3EF, 0xCEE3EF},
                                       {0xC5B2B3, 0xC5B2B3, 0xFBFCFC, 0xFBFCFC}}};
constexpr StyleQuads kInner = {{{0xFBFCFC, 0xFBFCFC, 0xE6EBEC, 0xE6EBEC},
                                {0xFBFCFC, 0xFBFCFC, 0xC9E1EC, 0xC9E1EC},
                                {0xFBFCFC, 0xFBFCFC, 0xD7C5C6, 0xD7C5C6}}};
constexpr std::array<COLORREF, 3> kFrames = {0x733C00, 0x066237, 0x743C00};
constexpr COLORREF kDisabledFill = 0xEAF4F5;
constexpr COLORREF kGreyText = 0x94A2A5;

struct Look {
  const char* name;
  DWORD style;
  std::function<void(HWND)> apply;
  const StyleQuads* outer;
  const StyleQuads* inner;  // none for a disabled button
  bool disabled;
};

const std::vector<Look>& looks() {
  static const std::vector<Look> all = {
      {"normal", BS_PUSHBUTTON, [](HWND) {}, &kNormal, &kInner, false},
      {"over", BS_PUSHBUTTON,
       [](HWND b) {
         hl::mouse_move(b, POINT{20, 15});
       },
       &kOver, &kInner, false},
      {"pressed", BS_PUSHBUTTON, [](HWND b) { SendMessageA(b, BM_SETSTATE, TRUE, 0); }, &kPressed,
       &kInnerPressed, false},
      {"focused", BS_PUSHBUTTON, [](HWND b) { SetFocus(b); }, &kFocused, &kInner, false},
      {"default", BS_DEFPUSHBUTTON, [](HWND) {}, &kFocused, &kInner, false},
      {"checked", BS_AUTOCHECKBOX | BS_PUSHLIKE, [](HWND b) { SendMessageA(b, BM_SETCHECK, BST_CHECKED, 0); },
       &kChecked, &kInnerPressed, false},
      {"disabled", BS_PUSHBUTTON | WS_DISABLED, [](HWND) {}, &kNormal, nullptr, true},
  };
  return all;
}

// Within one step of the gradient across the band (the last row stops one step short).
int band_tolerance(const Quad& q) {
  const int gap = std::max({channel_gap(q.top_left, q.bottom_left), channel_gap(q.top_right, q.bottom_right),
                            channel_gap(q.top_left, q.top_right)});
  return gap * 2 / (kH - 4) + 3;
}

void expect_quad(HWND b, RECT band, const Quad& q, const char* which) {
  SCOPED_TRACE(which);
  const int t = band_tolerance(q);
  EXPECT_TRUE(near_colour(window_pixel(b, band.left, band.top), q.top_left, t)) << "top left";
  EXPECT_TRUE(near_colour(window_pixel(b, band.right - 1, band.top), q.top_right, t)) << "top right";
  EXPECT_TRUE(near_colour(window_pixel(b, band.left, band.bottom - 1), q.bottom_left, t)) << "bottom left";
  EXPECT_TRUE(near_colour(window_pixel(b, band.right - 1, band.bottom - 1), q.bottom_right, t))
      << "bottom right";
}

// The box around the caption's dark pixels.
RECT ink(HWND b, int threshold) {
  RECT box{kW, kH, 0, 0};
  for (int y = 5; y < kH - 5; ++y)
    for (int x = 5; x < kW - 5; ++x)
      if (controls_test::luminance(window_pixel(b, x, y)) < threshold) {
        box.left = std::min<LONG>(box.left, x);
        box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x + 1);
        box.bottom = std::max<LONG>(box.bottom, y + 1);
      }
  return box;
}

class PushButtonLook : public StyleTest {
 protected:
  HWND styled_button(const Look& look) {
    hl::mouse_move(parent_, POINT{400, 300});
    idle();
    HWND b = make("BUTTON", look.style, {10, 10, 10 + kW, 10 + kH}, "Go");
    look.apply(b);
    idle();
    return b;
  }
};

TEST_F(PushButtonLook, EveryStateOfEveryStyleFollowsTheQuadTable) {
  const COLORREF face = vs::button_face();
  for (int style = 1; style <= 3; ++style) {
    vs::set_visual_style(style);
    for (const Look& look : looks()) {
      SCOPED_TRACE(std::string("style ") + std::to_string(style) + " " + look.name);
      HWND b = styled_button(look);
      ASSERT_TRUE(styled(b));
      const COLORREF frame = look.disabled ? vs::darker(face, 0x202020) : kFrames[style - 1];
      EXPECT_TRUE(same_colour(window_pixel(b, 0, kH / 2), face)) << "outer ring";
      EXPECT_TRUE(same_colour(window_pixel(b, kW / 2, kH - 1), face)) << "outer ring";
      EXPECT_TRUE(same_colour(window_pixel(b, 1, kH / 2), frame)) << "frame";
      EXPECT_TRUE(same_colour(window_pixel(b, kW / 2, 1), frame)) << "frame";
      EXPECT_TRUE(same_colour(window_pixel(b, kW - 2, kH / 2), frame)) << "frame";
      // Rounded corners: the frame's corner pixel recedes, the one inside it joins the frame.
      const COLORREF corner = look.disabled ? vs::darker(face, 0x151515) : face;
      const COLORREF inside = look.disabled ? vs::darker(face, 0x111111) : frame;
      EXPECT_TRUE(same_colour(window_pixel(b, 1, 1), corner)) << "corner";
      EXPECT_TRUE(same_colour(window_pixel(b, kW - 2, kH - 2), corner)) << "corner";
      EXPECT_TRUE(same_colour(window_pixel(b, 2, 2), inside)) << "inside the corner";
      EXPECT_TRUE(same_colour(window_pixel(b, kW - 3, 2), inside)) << "inside the corner";

      if (look.disabled) {
        EXPECT_TRUE(same_colour(window_pixel(b, 3, 2), kDisabledFill));
        EXPECT_TRUE(same_colour(window_pixel(b, 4, 4), kDisabledFill)) << "no inner band";
        EXPECT_TRUE(same_colour(window_pixel(b, kW - 5, kH - 5), kDisabledFill));
        EXPECT_TRUE(near_colour(controls_test::darkest(b, {5, 5, kW - 5, kH - 5}), kGreyText, 24))
            << "grey caption";
      } else {
        expect_quad(b, RECT{3, 2, kW - 3, kH - 2}, (*look.outer)[style - 1], "outer band");
        expect_quad(b, RECT{4, 4, kW - 4, kH - 4}, (*look.inner)[style - 1], "inner band");
        EXPECT_LT(controls_test::luminance(controls_test::darkest(b, {5, 5, kW - 5, kH - 5})), 40)
            << "black caption";
      }
      DestroyWindow(b);
    }
  }
}

TEST_F(PushButtonLook, CaptionShiftsWhilePressedAndHoverEndsWithTheMouse) {
  vs::set_visual_style(1);
  const Look& normal = looks()[0];
  HWND b = styled_button(normal);
  const RECT at_rest = ink(b, 100);
  SendMessageA(b, BM_SETSTATE, TRUE, 0);
  idle();
  const RECT pressed = ink(b, 100);
  EXPECT_EQ(pressed.left, at_rest.left + 1);
  EXPECT_EQ(pressed.top, at_rest.top + 1);
  EXPECT_EQ(pressed.right - pressed.left, at_rest.right - at_rest.left);
  SendMessageA(b, BM_SETSTATE, FALSE, 0);

  const Quad& over = kOver[0];
  const Quad& plain = kNormal[0];
  hl::mouse_move(b, POINT{20, 15});
  idle();
  EXPECT_TRUE(near_colour(window_pixel(b, 3, kH - 3), over.bottom_left, band_tolerance(over)));
  hl::mouse_move(parent_, POINT{400, 300});
  idle();
  EXPECT_TRUE(near_colour(window_pixel(b, 3, kH - 3), plain.bottom_left, band_tolerance(plain)))
      << "the mouse left: normal again";
}

TEST_F(PushButtonLook, FocusRectangleAndAlignment) {
  vs::set_visual_style(2);
  HWND left = make("BUTTON", BS_PUSHBUTTON | BS_LEFT, {10, 10, 10 + kW, 10 + kH}, "Go");
  HWND right = make("BUTTON", BS_PUSHBUTTON | BS_RIGHT, {10, 50, 10 + kW, 50 + kH}, "Go");
  idle();
  const RECT l = ink(left, 100), r = ink(right, 100);
  EXPECT_LT(l.left, 12);
  EXPECT_GT(r.right, kW - 12);
  const COLORREF before = window_pixel(left, kW / 2, 3);
  SetFocus(left);
  idle();
  EXPECT_NE(window_pixel(left, kW / 2, 3), before) << "the focus rectangle runs just inside the frame";
  EXPECT_EQ(vs::find_record(left)->flags & vs::flag::kFocused, vs::flag::kFocused);
}

}  // namespace
}  // namespace vs_test
