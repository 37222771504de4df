// DIB pixel formats read by CreateDIBitmap: palettes, 16-bit masks, row order and padding.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "gdi_fixture.h"

namespace {

struct Info {
  BITMAPINFOHEADER h{};
  RGBQUAD colours[256]{};
};

COLORREF pixel_of(HBITMAP b, int x, int y) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, b);
  const COLORREF c = GetPixel(dc, x, y);
  SelectObject(dc, old);
  DeleteDC(dc);
  return c;
}

HBITMAP make(const Info& info, const std::vector<BYTE>& bits) {
  return CreateDIBitmap(nullptr, &info.h, CBM_INIT, bits.data(), reinterpret_cast<const BITMAPINFO*>(&info),
                        DIB_RGB_COLORS);
}

Info header(int w, int h, int bpp, int colours) {
  Info i;
  i.h.biSize = sizeof(BITMAPINFOHEADER);
  i.h.biWidth = w;
  i.h.biHeight = h;
  i.h.biPlanes = 1;
  i.h.biBitCount = static_cast<WORD>(bpp);
  i.h.biClrUsed = static_cast<DWORD>(colours);
  return i;
}

TEST(DibFormatsTest, OneBitUsesItsPalette) {
  Info i = header(9, 1, 1, 2);
  i.colours[0] = RGBQUAD{255, 0, 0, 0};     // blue
  i.colours[1] = RGBQUAD{0, 255, 0, 0};     // green
  HBITMAP b = make(i, {0x80, 0x80, 0, 0});  // pixels 0 and 8 set
  EXPECT_EQ(pixel_of(b, 0, 0), RGB(0, 255, 0));
  EXPECT_EQ(pixel_of(b, 1, 0), RGB(0, 0, 255));
  EXPECT_EQ(pixel_of(b, 8, 0), RGB(0, 255, 0));
  DeleteObject(b);
}

TEST(DibFormatsTest, FourAndEightBitIndexes) {
  Info i4 = header(3, 1, 4, 3);
  i4.colours[2] = RGBQUAD{0, 0, 200, 0};
  HBITMAP b4 = make(i4, {0x02, 0x20, 0, 0});  // indexes 0, 2, 2
  EXPECT_EQ(pixel_of(b4, 0, 0), RGB(0, 0, 0));
  EXPECT_EQ(pixel_of(b4, 1, 0), RGB(200, 0, 0));
  EXPECT_EQ(pixel_of(b4, 2, 0), RGB(200, 0, 0));
  DeleteObject(b4);
  Info i8 = header(2, 2, 8, 6);  // a six-colour table
  i8.colours[5] = RGBQUAD{1, 2, 3, 0};
  // Bottom-up, rows padded to 4 bytes: bottom row (5, 0), top row (0, 7). Index 7 is past the
  // colour table: it reads as black.
  HBITMAP b8 = make(i8, {5, 0, 0, 0, 0, 7, 0, 0});
  EXPECT_EQ(pixel_of(b8, 0, 1), RGB(3, 2, 1));
  EXPECT_EQ(pixel_of(b8, 1, 0), RGB(0, 0, 0));
  DeleteObject(b8);
}

TEST(DibFormatsTest, SixteenBitDefaultsTo555AndHonoursMasks) {
  Info i = header(2, -1, 16, 0);
  // 0x7C00 is full red in 5-5-5; 0x001F full blue.
  HBITMAP b = make(i, {0x00, 0x7C, 0x1F, 0x00});
  EXPECT_EQ(pixel_of(b, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(pixel_of(b, 1, 0), RGB(0, 0, 255));
  DeleteObject(b);
  Info m = header(1, 1, 16, 0);
  m.h.biCompression = BI_BITFIELDS;
  const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};  // 5-6-5
  std::memcpy(m.colours, masks, sizeof(masks));
  HBITMAP g = make(m, {0xE0, 0x07, 0, 0});  // full green in 5-6-5
  EXPECT_EQ(pixel_of(g, 0, 0), RGB(0, 255, 0));
  DeleteObject(g);
}

TEST(DibFormatsTest, SetDibitsWritesRowsFromTheBottom) {
  HBITMAP b = CreateBitmap(1, 3, 1, 32, nullptr);
  Info i = header(1, 3, 32, 0);
  const std::vector<BYTE> rows = {0, 0, 255, 0};  // one red row
  // Start scan 1 of a bottom-up image is the middle row.
  EXPECT_EQ(SetDIBits(nullptr, b, 1, 1, rows.data(), reinterpret_cast<const BITMAPINFO*>(&i), DIB_RGB_COLORS),
            1);
  EXPECT_EQ(pixel_of(b, 0, 1), RGB(255, 0, 0));
  EXPECT_EQ(pixel_of(b, 0, 0), RGB(0, 0, 0));
  EXPECT_EQ(pixel_of(b, 0, 2), RGB(0, 0, 0));
  EXPECT_EQ(SetDIBits(nullptr, b, 5, 1, rows.data(), reinterpret_cast<const BITMAPINFO*>(&i), DIB_RGB_COLORS),
            0);
  DeleteObject(b);
}

TEST(DibFormatsTest, MonochromeBitsOfCreateBitmapAreWordAligned) {
  // Rows of 16 bits: row 0 = 1000 0000 0000 0001, row 1 = 0.
  const BYTE bits[4] = {0x80, 0x01, 0x00, 0x00};
  HBITMAP b = CreateBitmap(16, 2, 1, 1, bits);
  EXPECT_EQ(pixel_of(b, 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(pixel_of(b, 15, 0), RGB(255, 255, 255));
  EXPECT_EQ(pixel_of(b, 1, 0), RGB(0, 0, 0));
  EXPECT_EQ(pixel_of(b, 0, 1), RGB(0, 0, 0));
  // Read back as a 1-bit DIB: white pixels are 1.
  struct {
    BITMAPINFOHEADER h;
    RGBQUAD pal[2];
  } out{};
  out.h.biSize = sizeof(BITMAPINFOHEADER);
  out.h.biWidth = 16;
  out.h.biHeight = -2;
  out.h.biPlanes = 1;
  out.h.biBitCount = 1;
  BYTE back[8] = {};
  EXPECT_EQ(GetDIBits(nullptr, b, 0, 2, back, reinterpret_cast<BITMAPINFO*>(&out), DIB_RGB_COLORS), 2);
  EXPECT_EQ(back[0], 0x80);
  EXPECT_EQ(back[1], 0x01);
  EXPECT_EQ(back[4], 0x00);
  DeleteObject(b);
}

}  // namespace
