// Shapes and lines: exact pixels, edges and focus rectangles.
#include <gtest/gtest.h>

#include "gdi_fixture.h"

namespace {

using gdi_test::Surface;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

TEST(ShapesTest, RectangleFramesWithPenAndFillsWithBrush) {
  Surface s(10, 10);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  HGDIOBJ old = SelectObject(s.dc(), red);
  ASSERT_TRUE(Rectangle(s.dc(), 2, 2, 7, 6));
  EXPECT_EQ(s.Ink(), (RECT{2, 2, 7, 6})) << "right and bottom edges excluded";
  EXPECT_EQ(s.At(2, 2), kBlack);
  EXPECT_EQ(s.At(6, 5), kBlack);
  EXPECT_EQ(s.At(3, 3), RGB(255, 0, 0));
  EXPECT_EQ(s.At(5, 4), RGB(255, 0, 0));
  SelectObject(s.dc(), old);
  DeleteObject(red);
}

TEST(ShapesTest, LineToSkipsTheLastPixelAndMovesThePosition) {
  Surface s(10, 10);
  MoveToEx(s.dc(), 1, 1, nullptr);
  ASSERT_TRUE(LineTo(s.dc(), 6, 1));
  EXPECT_EQ(s.At(1, 1), kBlack);
  EXPECT_EQ(s.At(5, 1), kBlack);
  EXPECT_EQ(s.At(6, 1), kWhite);
  EXPECT_EQ(s.At(1, 0), kWhite);
  EXPECT_EQ(s.At(1, 2), kWhite);
  POINT p{};
  GetCurrentPositionEx(s.dc(), &p);
  EXPECT_EQ(p.x, 6);
  LineTo(s.dc(), 6, 5);
  EXPECT_EQ(s.At(6, 1), kBlack);
  EXPECT_EQ(s.At(6, 4), kBlack);
  EXPECT_EQ(s.At(6, 5), kWhite);
}

TEST(ShapesTest, DottedPenAlternatesPixels) {
  Surface s(10, 1);
  HPEN dot = CreatePen(PS_DOT, 1, RGB(0, 0, 255));
  HGDIOBJ old = SelectObject(s.dc(), dot);
  MoveToEx(s.dc(), 0, 0, nullptr);
  LineTo(s.dc(), 10, 0);
  EXPECT_EQ(s.At(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(s.At(1, 0), kWhite);
  EXPECT_EQ(s.At(2, 0), RGB(0, 0, 255));
  SelectObject(s.dc(), old);
  DeleteObject(dot);
}

TEST(ShapesTest, NullPenAndNullBrushDrawNothing) {
  Surface s(10, 10);
  SelectObject(s.dc(), GetStockObject(NULL_PEN));
  SelectObject(s.dc(), GetStockObject(NULL_BRUSH));
  Rectangle(s.dc(), 0, 0, 10, 10);
  Ellipse(s.dc(), 0, 0, 10, 10);
  EXPECT_EQ(s.Ink(), (RECT{0, 0, 0, 0}));
}

TEST(ShapesTest, EllipseStaysInsideItsBox) {
  Surface s(20, 20);
  SelectObject(s.dc(), GetStockObject(BLACK_BRUSH));
  ASSERT_TRUE(Ellipse(s.dc(), 2, 2, 18, 12));
  const RECT ink = s.Ink();
  EXPECT_GE(ink.left, 2);
  EXPECT_GE(ink.top, 2);
  EXPECT_LE(ink.right, 18);
  EXPECT_LE(ink.bottom, 12);
  EXPECT_EQ(s.At(10, 7), kBlack);
  EXPECT_EQ(s.At(2, 2), kWhite) << "corners are outside";
}

TEST(ShapesTest, FrameRectAndInvertRect) {
  Surface s(6, 6);
  RECT r{1, 1, 5, 5};
  FrameRect(s.dc(), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(s.At(1, 1), kBlack);
  EXPECT_EQ(s.At(4, 4), kBlack);
  EXPECT_EQ(s.At(2, 2), kWhite);
  EXPECT_EQ(s.At(5, 5), kWhite);
  InvertRect(s.dc(), &r);
  EXPECT_EQ(s.At(1, 1), kWhite);
  EXPECT_EQ(s.At(2, 2), kBlack);
  EXPECT_EQ(s.At(0, 0), kWhite);
}

TEST(ShapesTest, FocusRectIsDottedAndUndoesItself) {
  Surface s(8, 8, RGB(10, 20, 30));
  RECT r{1, 1, 7, 7};
  ASSERT_TRUE(DrawFocusRect(s.dc(), &r));
  EXPECT_EQ(s.At(1, 1), RGB(245, 235, 225));
  EXPECT_EQ(s.At(2, 1), RGB(10, 20, 30));
  EXPECT_EQ(s.At(3, 1), RGB(245, 235, 225));
  EXPECT_EQ(s.At(3, 3), RGB(10, 20, 30));
  DrawFocusRect(s.dc(), &r);
  EXPECT_EQ(s.Ink(RGB(10, 20, 30)), (RECT{0, 0, 0, 0}));
}

TEST(ShapesTest, SunkenEdgeUsesTheSystemColours) {
  Surface s(10, 10);
  RECT r{0, 0, 10, 10};
  ASSERT_TRUE(DrawEdge(s.dc(), &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST | BF_MIDDLE));
  EXPECT_EQ(r.left, 2);
  EXPECT_EQ(r.bottom, 8);
  EXPECT_EQ(s.At(0, 0), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(s.At(9, 9), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(s.At(1, 1), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(s.At(8, 8), GetSysColor(COLOR_3DLIGHT));
  EXPECT_EQ(s.At(5, 5), GetSysColor(COLOR_BTNFACE));
  RECT raised{0, 0, 10, 10};
  DrawEdge(s.dc(), &raised, EDGE_RAISED, BF_RECT);
  EXPECT_EQ(s.At(0, 0), GetSysColor(COLOR_3DLIGHT));
  EXPECT_EQ(s.At(9, 9), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(s.At(1, 1), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(raised.left, 0) << "no BF_ADJUST";
}

TEST(ShapesTest, SetPixelAndFillRectWithSystemColourIndex) {
  Surface s(4, 4);
  EXPECT_EQ(SetPixel(s.dc(), 1, 2, RGB(1, 2, 3)), RGB(1, 2, 3));
  EXPECT_EQ(GetPixel(s.dc(), 1, 2), RGB(1, 2, 3));
  EXPECT_EQ(GetPixel(s.dc(), 4, 0), CLR_INVALID);
  RECT r{0, 0, 1, 1};
  // The platform accepts COLOR_* + 1 in place of a brush.
  EXPECT_NE(FillRect(s.dc(), &r, reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_BTNFACE + 1))),
            0);
  EXPECT_EQ(s.At(0, 0), GetSysColor(COLOR_BTNFACE));
}

TEST(RectTest, Helpers) {
  RECT a{0, 0, 10, 10}, b{5, 5, 15, 15}, out{};
  EXPECT_TRUE(IntersectRect(&out, &a, &b));
  const RECT expected{5, 5, 10, 10};
  EXPECT_TRUE(EqualRect(&out, &expected));
  RECT far{20, 20, 30, 30};
  EXPECT_FALSE(IntersectRect(&out, &a, &far));
  EXPECT_TRUE(IsRectEmpty(&out));
  EXPECT_TRUE(UnionRect(&out, &a, &b));
  EXPECT_EQ(out.right, 15);
  RECT top{0, 0, 10, 4};
  EXPECT_TRUE(SubtractRect(&out, &a, &top));
  EXPECT_EQ(out.top, 4);
  EXPECT_TRUE(SubtractRect(&out, &a, &b)) << "partial cover leaves the rectangle";
  EXPECT_TRUE(EqualRect(&out, &a));
  InflateRect(&a, 1, 2);
  EXPECT_EQ(a.left, -1);
  EXPECT_EQ(a.bottom, 12);
  OffsetRect(&a, 1, 1);
  EXPECT_TRUE(PtInRect(&a, POINT{0, -1}));
  EXPECT_FALSE(PtInRect(&a, POINT{12, 0})) << "right edge is outside";
  EXPECT_FALSE(PtInRect(nullptr, POINT{0, 0}));
}

}  // namespace
