// Blits, raster operations, monochrome conversion, stretching and DIB layouts.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "gdi_fixture.h"

namespace {

using gdi_test::Surface;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

void fill(HDC dc, RECT r, COLORREF c) {
  HBRUSH b = CreateSolidBrush(c);
  FillRect(dc, &r, b);
  DeleteObject(b);
}

TEST(BlitTest, CopyAndRasterOperations) {
  Surface src(4, 1), dst(4, 1);
  fill(src.dc(), RECT{0, 0, 4, 1}, RGB(0xF0, 0x0F, 0x33));
  fill(dst.dc(), RECT{0, 0, 4, 1}, RGB(0x3C, 0xFF, 0x00));
  struct Case {
    DWORD rop;
    COLORREF expected;
  };
  const Case cases[] = {
      {SRCCOPY, RGB(0xF0, 0x0F, 0x33)},
      {SRCAND, RGB(0x30, 0x0F, 0x00)},
      {SRCPAINT, RGB(0xFC, 0xFF, 0x33)},
      {SRCINVERT, RGB(0xCC, 0xF0, 0x33)},
      {NOTSRCCOPY, RGB(0x0F, 0xF0, 0xCC)},
      {SRCERASE, RGB(0xC0, 0x00, 0x33)},
      {DSTINVERT, RGB(0xC3, 0x00, 0xFF)},
      {BLACKNESS, kBlack},
      {WHITENESS, kWhite},
  };
  for (const Case& c : cases) {
    fill(dst.dc(), RECT{0, 0, 4, 1}, RGB(0x3C, 0xFF, 0x00));
    ASSERT_TRUE(BitBlt(dst.dc(), 1, 0, 2, 1, src.dc(), 0, 0, c.rop));
    EXPECT_EQ(dst.At(1, 0), c.expected) << std::hex << c.rop;
    EXPECT_EQ(dst.At(0, 0), RGB(0x3C, 0xFF, 0x00)) << "outside the destination rectangle";
    EXPECT_EQ(dst.At(3, 0), RGB(0x3C, 0xFF, 0x00));
  }
}

TEST(BlitTest, PatternOperationsUseTheSelectedBrush) {
  Surface src(2, 1), dst(2, 1);
  fill(src.dc(), RECT{0, 0, 2, 1}, RGB(0xFF, 0x0F, 0x00));
  HBRUSH b = CreateSolidBrush(RGB(0x0F, 0xFF, 0xF0));
  HGDIOBJ old = SelectObject(dst.dc(), b);
  ASSERT_TRUE(PatBlt(dst.dc(), 0, 0, 2, 1, PATCOPY));
  EXPECT_EQ(dst.At(0, 0), RGB(0x0F, 0xFF, 0xF0));
  ASSERT_TRUE(BitBlt(dst.dc(), 0, 0, 2, 1, src.dc(), 0, 0, MERGECOPY));
  EXPECT_EQ(dst.At(1, 0), RGB(0x0F, 0x0F, 0x00));
  ASSERT_TRUE(PatBlt(dst.dc(), 0, 0, 2, 1, DSTINVERT));
  EXPECT_EQ(dst.At(0, 0), RGB(0xF0, 0xF0, 0xFF));
  EXPECT_FALSE(PatBlt(dst.dc(), 0, 0, 2, 1, SRCCOPY)) << "PatBlt has no source";
  SelectObject(dst.dc(), old);
  DeleteObject(b);
}

TEST(BlitTest, ClippingAndViewportOrigin) {
  Surface src(10, 10, RGB(255, 0, 0)), dst(10, 10);
  SetViewportOrgEx(dst.dc(), 2, 3, nullptr);
  IntersectClipRect(dst.dc(), 0, 0, 4, 4);  // logical: device 2..6 x 3..7
  BitBlt(dst.dc(), 0, 0, 10, 10, src.dc(), 0, 0, SRCCOPY);
  EXPECT_EQ(dst.At(2, 3), RGB(255, 0, 0));
  EXPECT_EQ(dst.At(5, 6), RGB(255, 0, 0));
  EXPECT_EQ(dst.At(6, 6), kWhite);
  EXPECT_EQ(dst.At(1, 3), kWhite);
  RECT box{};
  EXPECT_EQ(GetClipBox(dst.dc(), &box), SIMPLEREGION);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.right, 4);

  // A source that runs off its surface on every side copies only what lies on it, to the right
  // places; the rest of the destination keeps its pixels.
  Surface small(3, 3), wide(8, 8, RGB(0, 0, 255));
  fill(small.dc(), RECT{0, 0, 1, 1}, RGB(255, 0, 0));
  fill(small.dc(), RECT{2, 2, 3, 3}, RGB(0, 255, 0));
  SetViewportOrgEx(small.dc(), 1, 0, nullptr);
  BitBlt(wide.dc(), 1, 2, 6, 5, small.dc(), -3, -1, SRCCOPY);  // device source -2..3 x -1..3
  EXPECT_EQ(wide.At(3, 3), RGB(255, 0, 0));
  EXPECT_EQ(wide.At(5, 5), RGB(0, 255, 0));
  EXPECT_EQ(wide.At(4, 4), kWhite);
  EXPECT_EQ(wide.At(2, 3), RGB(0, 0, 255));
  EXPECT_EQ(wide.At(6, 5), RGB(0, 0, 255));
  EXPECT_EQ(wide.At(3, 2), RGB(0, 0, 255));
  EXPECT_EQ(wide.At(3, 6), RGB(0, 0, 255));
}

TEST(BlitTest, OverlappingBlitOnOneSurface) {
  Surface s(6, 1);
  for (int x = 0; x < 6; ++x) fill(s.dc(), RECT{x, 0, x + 1, 1}, RGB(x * 40, 0, 0));
  BitBlt(s.dc(), 1, 0, 5, 1, s.dc(), 0, 0, SRCCOPY);
  for (int x = 1; x < 6; ++x) EXPECT_EQ(s.At(x, 0), RGB((x - 1) * 40, 0, 0));
}

// The classic transparent sprite: a monochrome mask made by colour-to-mono conversion, the
// mask ANDed onto the background, the sprite (black where transparent) ORed on top.
TEST(BlitTest, MaskedSpriteSequence) {
  const COLORREF key = RGB(255, 0, 255);
  Surface sprite(4, 4, key), screen(4, 4, RGB(0, 128, 0));
  fill(sprite.dc(), RECT{1, 1, 3, 3}, RGB(200, 100, 50));

  HDC mask_dc = CreateCompatibleDC(nullptr);
  HBITMAP mask = CreateBitmap(4, 4, 1, 1, nullptr);
  HGDIOBJ old_mask = SelectObject(mask_dc, mask);
  SetBkColor(sprite.dc(), key);
  ASSERT_TRUE(BitBlt(mask_dc, 0, 0, 4, 4, sprite.dc(), 0, 0, SRCCOPY));
  EXPECT_EQ(GetPixel(mask_dc, 0, 0), kWhite) << "background colour becomes 1";
  EXPECT_EQ(GetPixel(mask_dc, 1, 1), kBlack);

  // Make the sprite's transparent part black: mono -> colour uses text (0) and bk (1) colours.
  SetTextColor(sprite.dc(), kWhite);
  SetBkColor(sprite.dc(), kBlack);
  ASSERT_TRUE(BitBlt(sprite.dc(), 0, 0, 4, 4, mask_dc, 0, 0, SRCAND));
  EXPECT_EQ(sprite.At(0, 0), kBlack);
  EXPECT_EQ(sprite.At(1, 1), RGB(200, 100, 50));

  SetTextColor(screen.dc(), kBlack);
  SetBkColor(screen.dc(), kWhite);
  ASSERT_TRUE(BitBlt(screen.dc(), 0, 0, 4, 4, mask_dc, 0, 0, SRCAND));
  EXPECT_EQ(screen.At(1, 1), kBlack);
  EXPECT_EQ(screen.At(0, 0), RGB(0, 128, 0));
  ASSERT_TRUE(BitBlt(screen.dc(), 0, 0, 4, 4, sprite.dc(), 0, 0, SRCPAINT));
  EXPECT_EQ(screen.At(0, 0), RGB(0, 128, 0));
  EXPECT_EQ(screen.At(3, 3), RGB(0, 128, 0));
  EXPECT_EQ(screen.At(1, 1), RGB(200, 100, 50));
  EXPECT_EQ(screen.At(2, 2), RGB(200, 100, 50));

  SelectObject(mask_dc, old_mask);
  DeleteObject(mask);
  DeleteDC(mask_dc);
}

TEST(BlitTest, CompatibleBitmapOfAFreshMemoryDcIsMonochrome) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP b = CreateCompatibleBitmap(dc, 8, 8);
  BITMAP bm{};
  ASSERT_EQ(GetObjectA(b, sizeof(bm), &bm), static_cast<int>(sizeof(bm)));
  EXPECT_EQ(bm.bmBitsPixel, 1);
  EXPECT_EQ(bm.bmWidthBytes, 2);
  DeleteObject(b);
  DeleteDC(dc);
  Surface colour(2, 2);
  HBITMAP c = CreateCompatibleBitmap(colour.dc(), 8, 8);
  GetObjectA(c, sizeof(bm), &bm);
  EXPECT_EQ(bm.bmBitsPixel, 32);
  DeleteObject(c);
}

TEST(BlitTest, HalftoneAveragesColorOnColorKeepsPixels) {
  Surface checker(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      if ((x + y) % 2) fill(checker.dc(), RECT{x, y, x + 1, y + 1}, kBlack);
  Surface half(4, 4);
  SetStretchBltMode(half.dc(), HALFTONE);
  ASSERT_TRUE(StretchBlt(half.dc(), 0, 0, 4, 4, checker.dc(), 0, 0, 8, 8, SRCCOPY));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      EXPECT_NEAR(GetRValue(half.At(x, y)), 128, 8) << x << "," << y;
      EXPECT_EQ(GetRValue(half.At(x, y)), GetBValue(half.At(x, y)));
    }
  Surface nearest(4, 4, RGB(1, 2, 3));
  SetStretchBltMode(nearest.dc(), COLORONCOLOR);
  ASSERT_TRUE(StretchBlt(nearest.dc(), 0, 0, 4, 4, checker.dc(), 0, 0, 8, 8, SRCCOPY));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_TRUE(nearest.At(x, y) == kBlack || nearest.At(x, y) == kWhite);
}

TEST(BlitTest, StretchEnlargesAndMirrors) {
  Surface src(2, 1), dst(4, 2);
  fill(src.dc(), RECT{0, 0, 1, 1}, RGB(255, 0, 0));
  SetStretchBltMode(dst.dc(), COLORONCOLOR);
  ASSERT_TRUE(StretchBlt(dst.dc(), 0, 0, 4, 2, src.dc(), 0, 0, 2, 1, SRCCOPY));
  EXPECT_EQ(dst.At(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(dst.At(1, 1), RGB(255, 0, 0));
  EXPECT_EQ(dst.At(2, 0), kWhite);
  ASSERT_TRUE(StretchBlt(dst.dc(), 3, 0, -4, 2, src.dc(), 0, 0, 2, 1, SRCCOPY));
  EXPECT_EQ(dst.At(3, 0), RGB(255, 0, 0));
  EXPECT_EQ(dst.At(0, 0), kWhite);
}

BITMAPINFO info32(int w, int h) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  return bi;
}

TEST(BlitTest, DibSectionBitsAreThePixelsInTheirRowOrder) {
  for (int sign : {1, -1}) {
    BITMAPINFO bi = info32(3, 2 * sign);
    std::uint32_t* bits = nullptr;
    HBITMAP b = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    ASSERT_NE(b, nullptr);
    ASSERT_NE(bits, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, b);
    fill(dc, RECT{0, 0, 3, 1}, RGB(255, 0, 0));  // top row
    const std::uint32_t* top = sign > 0 ? bits + 3 : bits;
    const std::uint32_t* bottom = sign > 0 ? bits : bits + 3;
    EXPECT_EQ(top[0] & 0xFFFFFF, 0xFF0000u) << "sign " << sign;
    EXPECT_EQ(bottom[0] & 0xFFFFFF, 0u);
    // Writes through the pointer are seen by drawing functions at once.
    const_cast<std::uint32_t*>(bottom)[2] = 0x0000FF00;
    EXPECT_EQ(GetPixel(dc, 2, 1), RGB(0, 255, 0));
    BITMAP bm{};
    GetObjectA(b, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmBits, bits);
    EXPECT_EQ(bm.bmWidthBytes, 12);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(b);
  }
}

TEST(BlitTest, EightBitDibSectionKeepsItsFormat) {
  struct {
    BITMAPINFOHEADER h;
    RGBQUAD pal[2];
  } bi{};
  bi.h.biSize = sizeof(BITMAPINFOHEADER);
  bi.h.biWidth = 4;
  bi.h.biHeight = -1;
  bi.h.biPlanes = 1;
  bi.h.biBitCount = 8;
  bi.h.biClrUsed = 2;
  bi.pal[1] = RGBQUAD{0, 0, 255, 0};  // red
  std::uint8_t* bits = nullptr;
  HBITMAP b = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS,
                               reinterpret_cast<void**>(&bits), nullptr, 0);
  ASSERT_NE(b, nullptr);
  bits[1] = 1;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, b);
  EXPECT_EQ(GetPixel(dc, 1, 0), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 0, 0), kBlack);
  fill(dc, RECT{3, 0, 4, 1}, RGB(250, 10, 10));
  EXPECT_EQ(bits[3], 1) << "drawing maps back to the nearest palette entry";
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(b);
}

TEST(BlitTest, DibitsRoundTripInEveryDepth) {
  // A 24-bit bottom-up DIB of 3 x 2 pixels, rows padded to 12 bytes.
  std::uint8_t bits24[24] = {};
  bits24[0] = 0x11, bits24[1] = 0x22, bits24[2] = 0x33;                 // bottom-left: R 33 G 22 B 11
  bits24[12 + 6] = 0xAA, bits24[12 + 7] = 0xBB, bits24[12 + 8] = 0xCC;  // top-right
  BITMAPINFO bi = info32(3, 2);
  bi.bmiHeader.biBitCount = 24;
  HBITMAP b = CreateDIBitmap(nullptr, &bi.bmiHeader, CBM_INIT, bits24, &bi, DIB_RGB_COLORS);
  ASSERT_NE(b, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, b);
  EXPECT_EQ(GetPixel(dc, 0, 1), RGB(0x33, 0x22, 0x11));
  EXPECT_EQ(GetPixel(dc, 2, 0), RGB(0xCC, 0xBB, 0xAA));
  SelectObject(dc, old);
  BITMAPINFO out = info32(3, -2);
  std::uint32_t px[6] = {};
  EXPECT_EQ(GetDIBits(dc, b, 0, 2, px, &out, DIB_RGB_COLORS), 2);
  EXPECT_EQ(px[2], 0x00CCBBAAu);
  EXPECT_EQ(px[3], 0x00332211u);
  BITMAPINFO query{};
  query.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  EXPECT_EQ(GetDIBits(dc, b, 0, 0, nullptr, &query, DIB_RGB_COLORS), 2);
  EXPECT_EQ(query.bmiHeader.biWidth, 3);
  EXPECT_EQ(query.bmiHeader.biBitCount, 32);
  DeleteDC(dc);
  DeleteObject(b);
}

TEST(BlitTest, BadDibHeadersAreRejected) {
  BITMAPINFO bi = info32(0, 5);
  void* bits = nullptr;
  EXPECT_EQ(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
  bi = info32(100000, 100000);
  EXPECT_EQ(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
  bi = info32(4, 4);
  bi.bmiHeader.biBitCount = 7;
  EXPECT_EQ(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
  bi = info32(4, 4);
  bi.bmiHeader.biCompression = BI_RLE8;
  EXPECT_EQ(CreateDIBitmap(nullptr, &bi.bmiHeader, CBM_INIT, &bi, &bi, DIB_RGB_COLORS), nullptr);
  EXPECT_EQ(bits, nullptr);
}

TEST(BlitTest, StretchDibitsDrawsBottomUpRows) {
  Surface dst(4, 4);
  std::uint32_t px[4] = {0x00FF0000, 0x00FF0000, 0x000000FF, 0x000000FF};  // bottom red, top blue
  BITMAPINFO bi = info32(2, 2);
  SetStretchBltMode(dst.dc(), COLORONCOLOR);
  EXPECT_EQ(StretchDIBits(dst.dc(), 0, 0, 4, 4, 0, 0, 2, 2, px, &bi, DIB_RGB_COLORS, SRCCOPY), 2);
  EXPECT_EQ(dst.At(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(dst.At(3, 3), RGB(255, 0, 0));
}

TEST(BlitTest, AlphaBlendUsesPremultipliedSourceAlpha) {
  BITMAPINFO bi = info32(2, -1);
  std::uint32_t* bits = nullptr;
  HBITMAP b = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
  bits[0] = 0x80800000;  // half-transparent red, premultiplied
  bits[1] = 0x00000000;  // fully transparent
  HDC src = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(src, b);
  Surface dst(2, 1, RGB(0, 0, 255));
  BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ASSERT_TRUE(AlphaBlend(dst.dc(), 0, 0, 2, 1, src, 0, 0, 2, 1, bf));
  EXPECT_NEAR(GetRValue(dst.At(0, 0)), 128, 2);
  EXPECT_NEAR(GetBValue(dst.At(0, 0)), 127, 2);
  EXPECT_EQ(dst.At(1, 0), RGB(0, 0, 255));
  // Constant alpha alone on an opaque source.
  Surface src2(1, 1, kWhite), dst2(1, 1, kBlack);
  BLENDFUNCTION half{AC_SRC_OVER, 0, 128, 0};
  ASSERT_TRUE(AlphaBlend(dst2.dc(), 0, 0, 1, 1, src2.dc(), 0, 0, 1, 1, half));
  EXPECT_NEAR(GetGValue(dst2.At(0, 0)), 128, 2);
  SelectObject(src, old);
  DeleteDC(src);
  DeleteObject(b);
}

TEST(BlitTest, TransparentBltSkipsTheKeyColour) {
  Surface src(2, 1, RGB(255, 0, 255)), dst(2, 1, RGB(0, 255, 0));
  fill(src.dc(), RECT{1, 0, 2, 1}, RGB(10, 20, 30));
  ASSERT_TRUE(TransparentBlt(dst.dc(), 0, 0, 2, 1, src.dc(), 0, 0, 2, 1, RGB(255, 0, 255)));
  EXPECT_EQ(dst.At(0, 0), RGB(0, 255, 0));
  EXPECT_EQ(dst.At(1, 0), RGB(10, 20, 30));
}

TEST(BlitTest, PatternBrushTilesFromTheOrigin) {
  HBITMAP tile = CreateBitmap(2, 1, 1, 32, nullptr);
  {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, tile);
    SetPixel(dc, 0, 0, RGB(255, 0, 0));
    SetPixel(dc, 1, 0, RGB(0, 0, 255));
    SelectObject(dc, old);
    DeleteDC(dc);
  }
  HBRUSH brush = CreatePatternBrush(tile);
  DeleteObject(tile);  // the brush keeps its own copy
  Surface s(5, 2);
  RECT r{1, 0, 5, 2};
  FillRect(s.dc(), &r, brush);
  EXPECT_EQ(s.At(0, 0), kWhite);
  EXPECT_EQ(s.At(1, 0), RGB(0, 0, 255));
  EXPECT_EQ(s.At(2, 1), RGB(255, 0, 0));
  EXPECT_EQ(s.At(4, 1), RGB(255, 0, 0));
  DeleteObject(brush);
}

TEST(BlitTest, ScreenSettingsReportThirtyTwoBits) {
  DEVMODEA dm{};
  dm.dmSize = sizeof(dm);
  ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &dm));
  EXPECT_EQ(dm.dmBitsPerPel, 32u);
  EXPECT_GT(dm.dmPelsWidth, 0u);
  Surface s(1, 1);
  EXPECT_EQ(GetDeviceCaps(s.dc(), LOGPIXELSY), 96);
  EXPECT_EQ(GetDeviceCaps(s.dc(), HORZRES), static_cast<int>(dm.dmPelsWidth));
}

}  // namespace
