// Device contexts and handles: validation, stock objects, selection, saved states, window
// surfaces.
#include <gtest/gtest.h>

#include <thread>

#include "gdi_fixture.h"
#include "platform/gdi/region_access.h"
#include "platform/gdi/surface_dc.h"

namespace {

using gdi_test::Surface;

TEST(HandleTest, BadHandlesAreRejected) {
  HGDIOBJ bogus = reinterpret_cast<HGDIOBJ>(0x5000);
  EXPECT_FALSE(DeleteObject(bogus));
  EXPECT_FALSE(DeleteObject(nullptr));
  EXPECT_EQ(GetObjectA(bogus, 100, nullptr), 0);
  EXPECT_EQ(SelectObject(reinterpret_cast<HDC>(bogus), GetStockObject(BLACK_PEN)), nullptr);
  EXPECT_EQ(GetObjectType(bogus), 0u);
  EXPECT_FALSE(DeleteDC(reinterpret_cast<HDC>(bogus)));
  EXPECT_EQ(SetTextColor(reinterpret_cast<HDC>(bogus), 0), CLR_INVALID);
  RECT r{0, 0, 1, 1};
  EXPECT_EQ(FillRect(reinterpret_cast<HDC>(bogus), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 0);
  HBRUSH b = CreateSolidBrush(RGB(1, 2, 3));
  ASSERT_TRUE(DeleteObject(b));
  EXPECT_FALSE(DeleteObject(b)) << "handles are not reused or deleted twice";
  Surface s(2, 2);
  EXPECT_EQ(FillRect(s.dc(), &r, b), 0);
}

TEST(HandleTest, WrongKindOfHandleIsRejected) {
  Surface s(2, 2);
  HPEN pen = CreatePen(PS_SOLID, 1, 0);
  RECT r{0, 0, 1, 1};
  EXPECT_EQ(FillRect(s.dc(), &r, reinterpret_cast<HBRUSH>(pen)), 0);
  EXPECT_FALSE(DeleteObject(s.dc())) << "DCs are deleted with DeleteDC";
  EXPECT_EQ(GetObjectType(pen), static_cast<DWORD>(OBJ_PEN));
  EXPECT_EQ(GetObjectType(s.dc()), static_cast<DWORD>(OBJ_MEMDC));
  DeleteObject(pen);
}

TEST(HandleTest, StockObjectsSurviveDeletion) {
  HGDIOBJ white = GetStockObject(WHITE_BRUSH);
  ASSERT_NE(white, nullptr);
  EXPECT_TRUE(DeleteObject(white));
  EXPECT_EQ(GetObjectType(white), static_cast<DWORD>(OBJ_BRUSH));
  LOGBRUSH lb{};
  ASSERT_EQ(GetObjectA(white, sizeof(lb), &lb), static_cast<int>(sizeof(lb)));
  EXPECT_EQ(lb.lbColor, RGB(255, 255, 255));
  EXPECT_EQ(GetStockObject(WHITE_BRUSH), white);
  HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
  EXPECT_TRUE(DeleteObject(face));
  ASSERT_EQ(GetObjectA(face, sizeof(lb), &lb), static_cast<int>(sizeof(lb)));
  EXPECT_EQ(lb.lbColor, GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(212, 208, 200));
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
  EXPECT_EQ(GetStockObject(99), nullptr);
  EXPECT_EQ(GetSysColorBrush(99), nullptr);
}

TEST(HandleTest, DeletingASelectedObjectWaitsForDeselection) {
  Surface s(4, 4);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  HGDIOBJ old = SelectObject(s.dc(), red);
  EXPECT_TRUE(DeleteObject(red));
  EXPECT_EQ(GetObjectType(red), static_cast<DWORD>(OBJ_BRUSH)) << "still selected";
  PatBlt(s.dc(), 0, 0, 1, 1, PATCOPY);
  EXPECT_EQ(s.At(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(SelectObject(s.dc(), old), red);
  EXPECT_EQ(GetObjectType(red), 0u) << "gone once deselected";
}

TEST(HandleTest, BitmapSelectsIntoOneDcAtATime) {
  HBITMAP b = CreateBitmap(4, 4, 1, 32, nullptr);
  HDC a = CreateCompatibleDC(nullptr), c = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(a, b);
  EXPECT_NE(old, nullptr);
  EXPECT_EQ(SelectObject(c, b), nullptr);
  EXPECT_EQ(GetCurrentObject(a, OBJ_BITMAP), b);
  DeleteDC(a);  // releases the bitmap
  EXPECT_NE(SelectObject(c, b), nullptr);
  DeleteDC(c);
  EXPECT_TRUE(DeleteObject(b));
}

TEST(DcTest, SaveAndRestoreState) {
  Surface s(4, 4);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
  const int level = SaveDC(s.dc());
  EXPECT_EQ(level, 1);
  SelectObject(s.dc(), pen);
  SetTextColor(s.dc(), RGB(9, 9, 9));
  SetViewportOrgEx(s.dc(), 5, 6, nullptr);
  IntersectClipRect(s.dc(), 0, 0, 1, 1);
  EXPECT_EQ(SaveDC(s.dc()), 2);
  SetTextColor(s.dc(), RGB(7, 7, 7));
  EXPECT_TRUE(RestoreDC(s.dc(), -1));
  EXPECT_EQ(GetTextColor(s.dc()), RGB(9, 9, 9));
  EXPECT_TRUE(RestoreDC(s.dc(), level));
  EXPECT_EQ(GetTextColor(s.dc()), RGB(0, 0, 0));
  POINT org{};
  GetViewportOrgEx(s.dc(), &org);
  EXPECT_EQ(org.x, 0);
  EXPECT_EQ(GetCurrentObject(s.dc(), OBJ_PEN), GetStockObject(BLACK_PEN));
  RECT box{};
  GetClipBox(s.dc(), &box);
  EXPECT_EQ(box.right, 4);
  EXPECT_FALSE(RestoreDC(s.dc(), 1)) << "that level is gone";
  EXPECT_TRUE(DeleteObject(pen));
}

TEST(DcTest, ModesAndColoursReturnPreviousValues) {
  Surface s(1, 1);
  EXPECT_EQ(SetBkMode(s.dc(), TRANSPARENT), OPAQUE);
  EXPECT_EQ(GetBkMode(s.dc()), TRANSPARENT);
  EXPECT_EQ(SetBkMode(s.dc(), 7), 0);
  EXPECT_EQ(SetBkColor(s.dc(), RGB(1, 1, 1)), RGB(255, 255, 255));
  EXPECT_EQ(SetTextAlign(s.dc(), TA_CENTER), TA_LEFT | TA_TOP);
  EXPECT_EQ(SetStretchBltMode(s.dc(), HALFTONE), BLACKONWHITE);
  EXPECT_EQ(GetStretchBltMode(s.dc()), HALFTONE);
}

TEST(DcTest, SurfaceDcDrawsAtItsOriginInsideItsClip) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 20, 20);
  HRGN visible = CreateRectRgn(5, 5, 15, 15);
  HWND owner = reinterpret_cast<HWND>(0x777);
  HDC dc = platform::gdi::create_surface_dc(surface, POINT{5, 5}, visible, owner);
  ASSERT_NE(dc, nullptr);
  DeleteObject(visible);  // the DC copied it
  EXPECT_EQ(WindowFromDC(dc), owner);
  RECT r{0, 0, 100, 100};
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  RECT box{};
  EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.right, 10);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(dc, 10, 10), CLR_INVALID) << "outside the clip";
  EXPECT_EQ(GetObjectType(dc), static_cast<DWORD>(OBJ_DC));
  EXPECT_TRUE(DeleteDC(dc));
  cairo_surface_flush(surface);
  const auto* px = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(surface));
  const int stride = cairo_image_surface_get_stride(surface) / 4;
  EXPECT_EQ(px[5 * stride + 5], 0xFF000000u) << "opaque black";
  EXPECT_EQ(px[14 * stride + 14], 0xFF000000u);
  EXPECT_EQ(px[15 * stride + 15], 0u) << "outside the visible region";
  EXPECT_EQ(px[4 * stride + 4], 0u);
  cairo_surface_destroy(surface);
  EXPECT_EQ(platform::gdi::create_surface_dc(nullptr, POINT{0, 0}, nullptr, nullptr), nullptr);
}

TEST(DcTest, DcsWorkFromSeveralThreads) {
  // Each thread draws text into its own surface; fonts and stock objects are shared.
  auto work = [](int* ink_rows) {
    Surface s(100, 30);
    SelectObject(s.dc(), GetStockObject(DEFAULT_GUI_FONT));
    for (int i = 0; i < 20; ++i) {
      s.Fill(RGB(255, 255, 255));
      TextOutA(s.dc(), 0, 0, "\xB8\xE8\xB4\xCA lyrics", 11);
    }
    *ink_rows = s.CountRowsWithInk();
  };
  int a = 0, b = 0;
  std::thread t1(work, &a), t2(work, &b);
  t1.join();
  t2.join();
  EXPECT_GT(a, 5);
  EXPECT_EQ(a, b);
}

}  // namespace
