// What a picture box shows: the display modes on a real box window, blending over the box's
// colour, clearing, bytes that are no picture, and the box that fits itself to its picture.
#include <gtest/gtest.h>

#include "tests/ui/picture/picture_box_fixture.h"
#include "tests/ui/picture/picture_encoders.h"

namespace picture_box_test {
namespace {

namespace pt = lyr::picture::test;

using pt::quadrants;
constexpr COLORREF kRed = RGB(0xE0, 0x20, 0x10), kBlue = RGB(0x10, 0x20, 0xE0),
                   kGreen = RGB(0x20, 0xC0, 0x20), kGrey = RGB(0xF0, 0xF0, 0xF0);

using PictureBoxDisplay = PictureBoxTest;

TEST_F(PictureBoxDisplay, LargeJpegIsScaledDownInModeTwoAndClippedInModeZero) {
  ui::PictureBoxProperties p;
  p.mode = 2;
  p.picture = pt::write_jpeg(300, 200, quadrants(300, 200));
  ui::PictureBox* box = create(p);
  ASSERT_NE(box, nullptr);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  // 180 x 120 at vertical offset 30.
  for (int x : {0, 89, 90, 179}) {
    EXPECT_EQ(pixel(box, x, 0), face) << x;
    EXPECT_EQ(pixel(box, x, 29), face) << x;
    EXPECT_NE(pixel(box, x, 30), face) << x;
    EXPECT_NE(pixel(box, x, 149), face) << x;
    EXPECT_EQ(pixel(box, x, 150), face) << x;
    EXPECT_EQ(pixel(box, x, 179), face) << x;
  }
  EXPECT_TRUE(near(pixel(box, 40, 55), kRed, 12));
  EXPECT_TRUE(near(pixel(box, 140, 55), kBlue, 12));
  EXPECT_TRUE(near(pixel(box, 40, 125), kGreen, 12));
  EXPECT_TRUE(near(pixel(box, 140, 125), kGrey, 12));

  set_int(box, 3, 0);
  // Natural size: the quadrants meet at (150, 100); the rest of the picture is cut off.
  EXPECT_TRUE(near(pixel(box, 5, 5), kRed, 8));
  EXPECT_TRUE(near(pixel(box, 145, 95), kRed, 8));
  EXPECT_TRUE(near(pixel(box, 155, 5), kBlue, 8));
  EXPECT_TRUE(near(pixel(box, 5, 105), kGreen, 8));
  EXPECT_TRUE(near(pixel(box, 179, 179), kGrey, 8));

  set_int(box, 3, 1);                                 // stretched over the whole box: 300 x 200 to 180 x 180
  EXPECT_TRUE(near(pixel(box, 100, 70), kBlue, 12));  // x 167 in the picture
  EXPECT_TRUE(near(pixel(box, 70, 95), kGreen, 12));  // y 106 in the picture
  EXPECT_TRUE(near(pixel(box, 5, 5), kRed, 12));
  EXPECT_TRUE(near(pixel(box, 175, 5), kBlue, 12));
  EXPECT_TRUE(near(pixel(box, 5, 175), kGreen, 12));
  EXPECT_TRUE(near(pixel(box, 175, 175), kGrey, 12));
}

TEST_F(PictureBoxDisplay, HalfTransparentPngBlendsWithTheBoxColour) {
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  ui::PictureBoxProperties p;
  p.picture = pt::write_png(2, 1, {0x80FF0000, 0x00000000});
  ui::PictureBox* box = create(p);
  ASSERT_NE(box, nullptr);
  // 128/255 of red over 127/255 of the button face.
  const auto blend = [](int over, int under) { return (128 * over + 127 * under + 127) / 255; };
  const COLORREF expected =
      RGB(blend(255, GetRValue(face)), blend(0, GetGValue(face)), blend(0, GetBValue(face)));
  EXPECT_TRUE(near(pixel(box, 0, 0), expected, 1));
  EXPECT_EQ(pixel(box, 1, 0), face);
  EXPECT_EQ(pixel(box, 50, 50), face);

  set_int(box, 1, RGB(0, 0, 255));  // the picture is blended again over the new colour
  EXPECT_TRUE(near(pixel(box, 0, 0), RGB(128, 0, 127), 1));
  EXPECT_EQ(pixel(box, 1, 0), RGB(0, 0, 255));
  EXPECT_EQ(pixel(box, 50, 50), RGB(0, 0, 255));
}

TEST_F(PictureBoxDisplay, EmptyBytesClearThePicture) {
  ui::PictureBoxProperties p;
  p.background = RGB(1, 2, 3);
  ui::PictureBox* box = create(p);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(pixel(box, 10, 10), RGB(1, 2, 3));
  set_bytes(box, pt::write_bmp_rgb(20, 20, 24, std::vector<std::uint32_t>(400, 0x00FF00)));
  EXPECT_EQ(pixel(box, 10, 10), RGB(0, 255, 0));
  set_bytes(box, {});
  EXPECT_EQ(pixel(box, 10, 10), RGB(1, 2, 3));
  EXPECT_TRUE(get_bytes(box).empty());
  EXPECT_EQ(get(box, 2).second, 0);
}

TEST_F(PictureBoxDisplay, BytesThatAreNoPictureAreKeptButShowNothing) {
  ui::PictureBoxProperties p;
  p.background = RGB(1, 2, 3);
  p.picture = pt::write_bmp_rgb(20, 20, 24, std::vector<std::uint32_t>(400, 0x00FF00));
  ui::PictureBox* box = create(p);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(pixel(box, 10, 10), RGB(0, 255, 0));

  const Bytes png = pt::write_png(4, 4, std::vector<std::uint32_t>(16, 0xFFFF0000));
  const Bytes seven(png.begin(), png.begin() + 7);  // a signature one byte short
  Bytes damaged = png;
  damaged.resize(damaged.size() / 2);
  for (const Bytes& bytes : {seven, damaged, Bytes{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'}}) {
    set_bytes(box, bytes);
    EXPECT_EQ(get_bytes(box), bytes);
    EXPECT_EQ(pixel(box, 1, 1), RGB(1, 2, 3)) << bytes.size();
    EXPECT_EQ(pixel(box, 10, 10), RGB(1, 2, 3)) << bytes.size();
  }
}

TEST_F(PictureBoxDisplay, ModeThreeFitsTheBoxToEachPicture) {
  ui::PictureBoxProperties p;
  p.mode = 3;
  p.border_style = 1;  // the sunken edge stays around the fitted client area
  p.picture = pt::write_bmp_rgb(50, 40, 24, std::vector<std::uint32_t>(2000, 0x0000FF));
  ui::PictureBox* box = create(p);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(get(box, 3).first, 3);
  SIZE client = client_size(box->hwnd());
  EXPECT_EQ(client.cx, 50);
  EXPECT_EQ(client.cy, 40);
  RECT outer{};
  GetWindowRect(box->hwnd(), &outer);
  EXPECT_GT(outer.right - outer.left, 50);
  EXPECT_EQ(pixel(box, 49, 39), RGB(0, 0, 255));

  set_bytes(box, pt::write_png(70, 30, std::vector<std::uint32_t>(2100, 0xFF00FF00)));
  client = client_size(box->hwnd());
  EXPECT_EQ(client.cx, 70);
  EXPECT_EQ(client.cy, 30);
  EXPECT_EQ(pixel(box, 69, 29), RGB(0, 255, 0));

  // Once the mode is changed the box keeps its size for the next picture.
  set_int(box, 3, 0);
  set_bytes(box, pt::write_png(10, 10, std::vector<std::uint32_t>(100, 0xFF00FF00)));
  client = client_size(box->hwnd());
  EXPECT_EQ(client.cx, 70);
  EXPECT_EQ(client.cy, 30);

  // A mode-2 box of the same picture keeps the size it was made with.
  ui::PictureBoxProperties fixed = p;
  fixed.mode = 2;
  ui::PictureBox* other = create(fixed, 120, 90);
  ASSERT_NE(other, nullptr);
  RECT r{};
  GetWindowRect(other->hwnd(), &r);
  EXPECT_EQ(r.right - r.left, 120);
  EXPECT_EQ(r.bottom - r.top, 90);
}

TEST_F(PictureBoxDisplay, IconIsDrawnThroughItsMask) {
  const pt::IconEntryLayout e = pt::corner_masked_icon();
  ui::PictureBoxProperties p;
  p.background = RGB(9, 9, 9);
  p.picture = pt::write_icon({e});
  ui::PictureBox* box = create(p);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(pixel(box, 0, 0), RGB(9, 9, 9));
  EXPECT_EQ(pixel(box, 1, 0), RGB(0x30, 0x60, 0xF0));
  EXPECT_EQ(pixel(box, 3, 3), RGB(0x30, 0x60, 0xF0));
  EXPECT_EQ(pixel(box, 4, 4), RGB(9, 9, 9));
}

}  // namespace
}  // namespace picture_box_test
