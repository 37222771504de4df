// Extreme coordinates and sizes: every call returns promptly with a clear answer and draws
// only what is visible.
#include <gtest/gtest.h>

#include <climits>

#include "gdi_fixture.h"

namespace {

using gdi_test::Surface;

TEST(HostileInputTest, FarAwayShapesAndLines) {
  Surface s(20, 20);
  RECT huge{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
  EXPECT_NE(FillRect(s.dc(), &huge, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 0);
  EXPECT_EQ(s.At(19, 19), RGB(0, 0, 0));
  s.Fill(RGB(255, 255, 255));
  MoveToEx(s.dc(), -2000000000, 10, nullptr);
  EXPECT_TRUE(LineTo(s.dc(), 2000000000, 10));
  EXPECT_EQ(s.At(5, 10), RGB(0, 0, 0));
  EXPECT_EQ(s.At(5, 9), RGB(255, 255, 255));
  EXPECT_TRUE(DrawFocusRect(s.dc(), &huge));
  EXPECT_TRUE(InvertRect(s.dc(), &huge));
  EXPECT_TRUE(Rectangle(s.dc(), INT_MIN, INT_MIN, INT_MAX, INT_MAX));
  EXPECT_TRUE(Ellipse(s.dc(), -1000000000, -1000000000, 1000000000, 1000000000));
  EXPECT_EQ(SetPixel(s.dc(), INT_MAX, INT_MAX, 0), CLR_INVALID);
  EXPECT_EQ(GetPixel(s.dc(), INT_MIN, 0), CLR_INVALID);
  SetViewportOrgEx(s.dc(), INT_MAX, INT_MAX, nullptr);
  EXPECT_EQ(GetPixel(s.dc(), INT_MAX, INT_MAX), CLR_INVALID);
}

TEST(HostileInputTest, HugeStretchDrawsOnlyTheVisiblePart) {
  Surface src(2, 2, RGB(255, 0, 0)), dst(10, 10);
  SetStretchBltMode(dst.dc(), HALFTONE);
  EXPECT_TRUE(StretchBlt(dst.dc(), -500000, -500000, 1000000, 1000000, src.dc(), 0, 0, 2, 2, SRCCOPY));
  EXPECT_EQ(dst.At(5, 5), RGB(255, 0, 0));
  EXPECT_FALSE(StretchBlt(dst.dc(), 0, 0, 10, 10, src.dc(), 0, 0, 1000000, 1000000, SRCCOPY))
      << "an absurd source rectangle is refused";
  EXPECT_TRUE(BitBlt(dst.dc(), 0, 0, INT_MAX, INT_MAX, src.dc(), 0, 0, SRCCOPY));
  BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, 0};
  EXPECT_FALSE(AlphaBlend(dst.dc(), 0, 0, 10, 10, src.dc(), 0, 0, 1000000, 1000000, bf));
  EXPECT_FALSE(TransparentBlt(dst.dc(), 0, 0, 10, 10, src.dc(), 0, 0, 1000000, 1000000, 0));
}

TEST(HostileInputTest, HugeRegionsAndText) {
  HRGN r = CreateRectRgn(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  ASSERT_NE(r, nullptr);
  EXPECT_TRUE(PtInRegion(r, 0, 0));
  EXPECT_EQ(OffsetRgn(r, INT_MAX, INT_MAX), SIMPLEREGION);
  DeleteObject(r);
  EXPECT_EQ(CreateEllipticRgn(0, 0, 100, 100000000), nullptr) << "too tall to rasterise";
  Surface s(20, 20);
  RECT wide{INT_MIN, 0, INT_MAX, 20};
  EXPECT_GT(DrawTextA(s.dc(), "lyrics finder", -1, &wide, DT_WORDBREAK | DT_CENTER), 0);
  TRIVERTEX v[3] = {
      {INT_MIN, INT_MIN, 0, 0, 0, 0}, {INT_MAX, INT_MIN, 0xFF00, 0, 0, 0}, {0, INT_MAX, 0, 0, 0, 0}};
  GRADIENT_TRIANGLE t{0, 1, 2};
  EXPECT_TRUE(GradientFill(s.dc(), v, 3, &t, 1, GRADIENT_FILL_TRIANGLE));
}

TEST(HostileInputTest, OversizedBitmapsAreRefused) {
  EXPECT_EQ(CreateBitmap(100000, 100000, 1, 32, nullptr), nullptr);
  EXPECT_EQ(CreateBitmap(-5, 5, 1, 32, nullptr), nullptr);
  EXPECT_EQ(CreateBitmap(5, 5, 1, 8, nullptr), nullptr) << "only 1, 24 and 32 bits";
  Surface s(1, 1);
  EXPECT_EQ(CreateCompatibleBitmap(s.dc(), 40000, 40000), nullptr);
}

}  // namespace
