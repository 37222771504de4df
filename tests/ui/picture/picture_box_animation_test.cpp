// Animated GIFs in a picture box: played on the box by its own player, replaced or stopped
// when the picture, the mode or the box changes.
#include <gtest/gtest.h>

#include "tests/support/manual_clock.h"
#include "tests/ui/picture/picture_box_fixture.h"
#include "tests/ui/picture/picture_encoders.h"

namespace picture_box_test {
namespace {

namespace pt = lyr::picture::test;

constexpr COLORREF kFrameA = RGB(255, 0, 0), kFrameB = RGB(0, 0, 255);

// Two 8 x 8 frames, red then blue, both with delay 0.
Bytes red_blue_gif() {
  pt::GifLayout layout;
  layout.width = layout.height = 8;
  layout.global_palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  pt::GifFrameLayout a;
  a.width = a.height = 8;
  a.indices.assign(64, 1);
  pt::GifFrameLayout b = a;
  b.indices.assign(64, 3);
  layout.frames = {a, b};
  return pt::write_gif(layout);
}

// The clock stands still: a frame comes only when the test moves it on.
class PictureBoxAnimation : public PictureBoxTest {
 protected:
  lyr::test::ManualClock clock_;
};

TEST_F(PictureBoxAnimation, ZeroDelayFramesPlayEveryFiftyMillisecondsAndLoop) {
  ui::PictureBoxProperties p;
  p.picture = red_blue_gif();
  ui::PictureBox* box = create(p);
  ASSERT_NE(box, nullptr);
  ASSERT_TRUE(box->animating());
  ASSERT_TRUE(wait_for([&] { return box->animation_frames() >= 1 && pixel(box, 3, 3) == kFrameA; }));
  // Red, blue, red, blue, red: each one 50 ms after the one before, not a millisecond sooner.
  for (std::uint64_t shown = 1; shown <= 4; ++shown) {
    clock_.advance(49);
    hl::run_until_idle();
    EXPECT_EQ(box->animation_frames(), shown);
    EXPECT_EQ(pixel(box, 3, 3), shown % 2 == 1 ? kFrameA : kFrameB) << shown;
    clock_.advance(1);
    const COLORREF next = shown % 2 == 1 ? kFrameB : kFrameA;
    ASSERT_TRUE(wait_for([&] { return pixel(box, 3, 3) == next; })) << shown;
    // A frame on the box is already counted.
    EXPECT_EQ(box->animation_frames(), shown + 1);
  }
  // Outside the 8 x 8 screen the box shows its own colour.
  EXPECT_EQ(pixel(box, 100, 100), GetSysColor(COLOR_BTNFACE));
}

TEST_F(PictureBoxAnimation, APaintShowsTheFrameLastDrawn) {
  ui::PictureBoxProperties p;
  p.picture = red_blue_gif();
  p.mode = 1;
  ui::PictureBox* box = create(p);
  ASSERT_NE(box, nullptr);
  ASSERT_TRUE(wait_for([&] { return box->animation_frames() >= 1; }));
  InvalidateRect(box->hwnd(), nullptr, TRUE);
  hl::run_until_idle();
  const COLORREF c = pixel(box, 170, 170);  // stretched over the box
  EXPECT_TRUE(c == kFrameA || c == kFrameB) << std::hex << c;
}

TEST_F(PictureBoxAnimation, WithoutPlayingTheFirstFrameIsAStill) {
  ui::PictureBoxProperties p;
  p.picture = red_blue_gif();
  p.play_animation = false;
  ui::PictureBox* box = create(p);
  ASSERT_NE(box, nullptr);
  EXPECT_FALSE(box->animating());
  clock_.advance(500);
  hl::run_until_idle();
  EXPECT_EQ(pixel(box, 3, 3), kFrameA);
  set_int(box, 4, 1);  // switching playing on starts the animation of the same bytes
  EXPECT_TRUE(box->animating());
  EXPECT_EQ(get_bytes(box), red_blue_gif());
  set_int(box, 4, 0);
  EXPECT_FALSE(box->animating());
}

TEST_F(PictureBoxAnimation, ANewPictureStopsThePlayerAtOnce) {
  ui::PictureBoxProperties p;
  p.picture = red_blue_gif();
  ui::PictureBox* box = create(p);
  ASSERT_NE(box, nullptr);
  ASSERT_TRUE(wait_for([&] { return box->animation_frames() >= 1; }));
  clock_.advance(50);
  ASSERT_TRUE(wait_for([&] { return box->animation_frames() >= 2; }));
  set_bytes(box, pt::write_bmp_rgb(8, 8, 24, std::vector<std::uint32_t>(64, 0x00FF00)));
  EXPECT_FALSE(box->animating());
  // No frame of the old animation comes over the new picture.
  for (int i = 0; i < 4; ++i) {
    clock_.advance(50);
    hl::run_until_idle();
    EXPECT_EQ(pixel(box, 3, 3), RGB(0, 255, 0)) << i;
  }
  set_bytes(box, red_blue_gif());
  EXPECT_TRUE(box->animating());
  set_bytes(box, {});
  EXPECT_FALSE(box->animating());
  EXPECT_EQ(pixel(box, 3, 3), GetSysColor(COLOR_BTNFACE));
}

TEST_F(PictureBoxAnimation, AModeChangeReplacesThePlayer) {
  ui::PictureBoxProperties p;
  p.picture = red_blue_gif();
  ui::PictureBox* box = create(p);
  ASSERT_NE(box, nullptr);
  ASSERT_TRUE(wait_for([&] { return box->animation_frames() >= 1; }));
  set_int(box, 3, 1);
  EXPECT_TRUE(box->animating());
  // Stretched now: the far corner shows the frames too, from the new player's first frame on.
  ASSERT_TRUE(wait_for([&] {
    const COLORREF c = pixel(box, 175, 175);
    return c == kFrameA || c == kFrameB;
  }));
}

TEST_F(PictureBoxAnimation, DestroyingTheBoxEndsItsPlayer) {
  ui::PictureBoxProperties p;
  p.picture = red_blue_gif();
  ui::PictureBox* box = create(p);
  ASSERT_NE(box, nullptr);
  ASSERT_TRUE(wait_for([&] { return box->animation_frames() >= 1; }));
  const HWND hwnd = box->hwnd();
  DestroyWindow(hwnd);  // the box object goes with it
  EXPECT_FALSE(IsWindow(hwnd));
  hl::run_until_idle();
  // The parent shows its own colour where the box was, and nothing draws there any more.
  for (int i = 0; i < 4; ++i) {
    clock_.advance(50);
    hl::run_until_idle();
    EXPECT_EQ(hl::read_pixel(parent_, 23, 23), kParentColour) << i;
  }
  // The same for a box that goes with its parent window.
  ui::PictureBox* second = create(p);
  ASSERT_NE(second, nullptr);
  ASSERT_TRUE(wait_for([&] { return second->animation_frames() >= 1; }));
  DestroyWindow(parent_);
  hl::run_until_idle();
  clock_.advance(100);  // a player left behind would draw into the destroyed window now
  hl::run_until_idle();
}

}  // namespace
}  // namespace picture_box_test
