// GradientFill: corner and midpoint colours of rectangle and triangle gradients.
#include <gtest/gtest.h>

#include "gdi_fixture.h"

namespace {

using gdi_test::Surface;

TRIVERTEX vertex(LONG x, LONG y, BYTE r, BYTE g, BYTE b) {
  return TRIVERTEX{
      x, y, static_cast<COLOR16>(r << 8), static_cast<COLOR16>(g << 8), static_cast<COLOR16>(b << 8), 0};
}

TEST(GradientTest, HorizontalRectangle) {
  Surface s(102, 10);
  TRIVERTEX v[2] = {vertex(1, 0, 0, 0, 0), vertex(101, 10, 200, 100, 0)};
  GRADIENT_RECT r{0, 1};
  ASSERT_TRUE(GradientFill(s.dc(), v, 2, &r, 1, GRADIENT_FILL_RECT_H));
  EXPECT_EQ(s.At(0, 5), RGB(255, 255, 255));
  EXPECT_EQ(s.At(1, 0), RGB(0, 0, 0));
  EXPECT_EQ(s.At(1, 9), RGB(0, 0, 0));
  EXPECT_NEAR(GetRValue(s.At(51, 5)), 100, 2);
  EXPECT_NEAR(GetGValue(s.At(51, 5)), 50, 2);
  EXPECT_NEAR(GetRValue(s.At(100, 5)), 198, 2);
  EXPECT_EQ(s.At(101, 5), RGB(255, 255, 255));
  EXPECT_EQ(s.At(30, 0), s.At(30, 9)) << "columns are uniform";
}

TEST(GradientTest, VerticalRectangle) {
  Surface s(10, 100);
  TRIVERTEX v[2] = {vertex(0, 0, 0, 0, 255), vertex(10, 100, 0, 255, 0)};
  GRADIENT_RECT r{0, 1};
  ASSERT_TRUE(GradientFill(s.dc(), v, 2, &r, 1, GRADIENT_FILL_RECT_V));
  EXPECT_EQ(s.At(0, 0), RGB(0, 0, 255));
  EXPECT_NEAR(GetGValue(s.At(5, 50)), 127, 2);
  EXPECT_NEAR(GetBValue(s.At(5, 50)), 127, 2);
  EXPECT_NEAR(GetGValue(s.At(9, 99)), 252, 3);
  EXPECT_EQ(s.At(0, 30), s.At(9, 30)) << "rows are uniform";
}

TEST(GradientTest, TriangleInterpolatesBetweenVertices) {
  Surface s(101, 101);
  TRIVERTEX v[3] = {vertex(0, 0, 255, 0, 0), vertex(100, 0, 0, 255, 0), vertex(0, 100, 0, 0, 255)};
  GRADIENT_TRIANGLE t{0, 1, 2};
  ASSERT_TRUE(GradientFill(s.dc(), v, 3, &t, 1, GRADIENT_FILL_TRIANGLE));
  EXPECT_EQ(s.At(0, 0), RGB(255, 0, 0));
  EXPECT_NEAR(GetGValue(s.At(99, 0)), 252, 3);
  const COLORREF mid = s.At(50, 0);  // halfway along the top edge
  EXPECT_NEAR(GetRValue(mid), 127, 2);
  EXPECT_NEAR(GetGValue(mid), 127, 2);
  EXPECT_EQ(GetBValue(mid), 0);
  EXPECT_EQ(s.At(90, 90), RGB(255, 255, 255)) << "outside the triangle";
}

TEST(GradientTest, BadMeshIndexFails) {
  Surface s(4, 4);
  TRIVERTEX v[2] = {vertex(0, 0, 0, 0, 0), vertex(4, 4, 255, 255, 255)};
  GRADIENT_RECT r{0, 2};
  EXPECT_FALSE(GradientFill(s.dc(), v, 2, &r, 1, GRADIENT_FILL_RECT_H));
  GRADIENT_RECT ok{0, 1};
  EXPECT_FALSE(GradientFill(s.dc(), v, 2, &ok, 1, 7));
  EXPECT_FALSE(GradientFill(nullptr, v, 2, &ok, 1, GRADIENT_FILL_RECT_H));
}

}  // namespace
