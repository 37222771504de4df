// Icons and cursors from resource bits, drawn with DrawIconEx, and as pixels.
#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <vector>

#include "gdi_fixture.h"
#include "platform/gdi/icon_image.h"

namespace {

using gdi_test::Surface;

void put32(std::vector<BYTE>& v, std::uint32_t x) {
  for (int i = 0; i < 4; ++i) v.push_back(static_cast<BYTE>(x >> (8 * i)));
}

// BITMAPINFOHEADER of an icon image: the height counts the XOR image and the AND mask.
std::vector<BYTE> icon_header(int w, int h, int bpp, int colours) {
  BITMAPINFOHEADER bih{};
  bih.biSize = sizeof(bih);
  bih.biWidth = w;
  bih.biHeight = 2 * h;
  bih.biPlanes = 1;
  bih.biBitCount = static_cast<WORD>(bpp);
  std::vector<BYTE> v(sizeof(bih));
  std::memcpy(v.data(), &bih, sizeof(bih));
  for (int i = 0; i < colours; ++i) put32(v, 0);
  return v;
}

// 2 x 2, 32 bits: top-left opaque red, top-right half-transparent green, bottom row clear.
std::vector<BYTE> icon32() {
  std::vector<BYTE> v = icon_header(2, 2, 32, 0);
  put32(v, 0x00000000);  // bottom row first
  put32(v, 0x00000000);
  put32(v, 0xFFFF0000);                     // top-left red
  put32(v, 0x8000FF00);                     // top-right green, alpha 128 (straight)
  for (int i = 0; i < 2; ++i) put32(v, 0);  // AND mask rows (ignored with alpha)
  return v;
}

// 2 x 2, 4 bits with a palette: top-left blue, top-right masked out, bottom-left inverts the
// screen, bottom-right red.
std::vector<BYTE> icon4() {
  std::vector<BYTE> v = icon_header(2, 2, 4, 0);
  const std::uint32_t palette[16] = {0x000000, 0x0000FF, 0xFFFFFF, 0xFF0000};
  for (std::uint32_t c : palette) put32(v, c);
  // XOR rows (4 bytes each), bottom row first: indexes (2, 3), then (1, 0).
  v.insert(v.end(), {0x23, 0, 0, 0});
  v.insert(v.end(), {0x10, 0, 0, 0});
  // AND rows, bottom first: bottom-left 1, then top-right 1.
  v.insert(v.end(), {0x80, 0, 0, 0});
  v.insert(v.end(), {0x40, 0, 0, 0});
  return v;
}

TEST(IconTest, ThirtyTwoBitIconBlendsWithAlpha) {
  std::vector<BYTE> bits = icon32();
  HICON icon =
      CreateIconFromResourceEx(bits.data(), static_cast<DWORD>(bits.size()), TRUE, 0x00030000, 0, 0, 0);
  ASSERT_NE(icon, nullptr);
  Surface s(4, 4);
  ASSERT_TRUE(DrawIconEx(s.dc(), 1, 1, icon, 0, 0, 0, nullptr, DI_NORMAL));
  EXPECT_EQ(s.At(1, 1), RGB(255, 0, 0));
  EXPECT_NEAR(GetRValue(s.At(2, 1)), 127, 2);
  EXPECT_EQ(GetGValue(s.At(2, 1)), 255);
  EXPECT_EQ(s.At(1, 2), RGB(255, 255, 255));
  EXPECT_EQ(s.At(3, 3), RGB(255, 255, 255));
  platform::gdi::IconPixels px;
  ASSERT_TRUE(platform::gdi::icon_pixels(icon, true, px));
  EXPECT_EQ(px.width, 2);
  EXPECT_EQ(px.argb[1], 0x80008000u) << "premultiplied";
  ASSERT_TRUE(platform::gdi::icon_pixels(icon, false, px));
  EXPECT_EQ(px.argb[1], 0x8000FF00u);
  EXPECT_TRUE(DestroyIcon(icon));
  EXPECT_FALSE(DestroyIcon(icon));
  EXPECT_FALSE(DrawIconEx(s.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
}

TEST(IconTest, FourBitIconUsesItsMask) {
  std::vector<BYTE> bits = icon4();
  HICON icon = CreateIconFromResource(bits.data(), static_cast<DWORD>(bits.size()), TRUE, 0x00030000);
  ASSERT_NE(icon, nullptr);
  Surface s(2, 2, RGB(0, 128, 0));
  ASSERT_TRUE(DrawIconEx(s.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
  EXPECT_EQ(s.At(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(s.At(1, 0), RGB(0, 128, 0)) << "masked pixel shows the screen";
  EXPECT_EQ(s.At(0, 1), RGB(255, 127, 255)) << "mask 1 with a colour inverts";
  EXPECT_EQ(s.At(1, 1), RGB(255, 0, 0));
  // The mask alone, then the image alone.
  Surface m(2, 2, RGB(0, 128, 0));
  DrawIconEx(m.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_MASK);
  EXPECT_EQ(m.At(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(m.At(1, 0), RGB(0, 128, 0));
  DrawIconEx(m.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_IMAGE);
  EXPECT_EQ(m.At(1, 0), RGB(0, 0, 0));
  // Stretched to twice the size.
  Surface big(4, 4, RGB(0, 128, 0));
  DrawIconEx(big.dc(), 0, 0, icon, 4, 4, 0, nullptr, DI_NORMAL);
  EXPECT_EQ(big.At(1, 1), RGB(0, 0, 255));
  EXPECT_EQ(big.At(3, 3), RGB(255, 0, 0));
  DestroyIcon(icon);
}

TEST(IconTest, TruncatedResourcesAreRejected) {
  std::vector<BYTE> bits = icon4();
  EXPECT_EQ(CreateIconFromResource(bits.data(), static_cast<DWORD>(bits.size() - 1), TRUE, 0x00030000),
            nullptr);
  EXPECT_EQ(CreateIconFromResource(bits.data(), 20, TRUE, 0x00030000), nullptr);
  EXPECT_EQ(CreateIconFromResource(nullptr, 100, TRUE, 0x00030000), nullptr);
  std::vector<BYTE> odd = icon4();
  reinterpret_cast<BITMAPINFOHEADER*>(odd.data())->biHeight = 3;
  EXPECT_EQ(CreateIconFromResource(odd.data(), static_cast<DWORD>(odd.size()), TRUE, 0x00030000), nullptr);
}

TEST(IconTest, CursorResourceCarriesItsHotspot) {
  std::vector<BYTE> bits = {5, 0, 7, 0};
  std::vector<BYTE> image = icon32();
  bits.insert(bits.end(), image.begin(), image.end());
  HCURSOR cursor =
      CreateIconFromResourceEx(bits.data(), static_cast<DWORD>(bits.size()), FALSE, 0x00030000, 0, 0, 0);
  ASSERT_NE(cursor, nullptr);
  ICONINFO ii{};
  ASSERT_TRUE(GetIconInfo(cursor, &ii));
  EXPECT_FALSE(ii.fIcon);
  EXPECT_EQ(ii.xHotspot, 5u);
  EXPECT_EQ(ii.yHotspot, 7u);
  DeleteObject(ii.hbmMask);
  DeleteObject(ii.hbmColor);
  DestroyCursor(cursor);
}

TEST(IconTest, PngResourceDecodes) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = 2;
  image.height = 1;
  image.format = PNG_FORMAT_BGRA;
  const std::uint32_t px[2] = {0xFF0000FF, 0x00000000};  // opaque blue, clear
  png_alloc_size_t size = 0;
  ASSERT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, px, 0, nullptr));
  std::vector<BYTE> png(size);
  ASSERT_TRUE(png_image_write_to_memory(&image, png.data(), &size, 0, px, 0, nullptr));
  HICON icon = CreateIconFromResourceEx(png.data(), static_cast<DWORD>(size), TRUE, 0x00030000, 0, 0, 0);
  ASSERT_NE(icon, nullptr);
  Surface s(2, 1);
  DrawIconEx(s.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
  EXPECT_EQ(s.At(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(s.At(1, 0), RGB(255, 255, 255));
  DestroyIcon(icon);
}

TEST(IconTest, IconInfoRoundTripAndCopies) {
  std::vector<BYTE> bits = icon4();
  HICON icon = CreateIconFromResource(bits.data(), static_cast<DWORD>(bits.size()), TRUE, 0x00030000);
  ICONINFO ii{};
  ASSERT_TRUE(GetIconInfo(icon, &ii));
  BITMAP bm{};
  GetObjectA(ii.hbmMask, sizeof(bm), &bm);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  HICON again = CreateIconIndirect(&ii);
  ASSERT_NE(again, nullptr);
  HICON copy = CopyIcon(again);
  DestroyIcon(again);
  Surface s(2, 2, RGB(0, 128, 0));
  ASSERT_TRUE(DrawIconEx(s.dc(), 0, 0, copy, 0, 0, 0, nullptr, DI_NORMAL));
  EXPECT_EQ(s.At(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(s.At(1, 0), RGB(0, 128, 0));
  EXPECT_EQ(s.At(1, 1), RGB(255, 0, 0));
  DeleteObject(ii.hbmMask);
  DeleteObject(ii.hbmColor);
  DestroyIcon(copy);
  DestroyIcon(icon);
}

TEST(IconTest, ArgbIconsForTheDisplayLayer) {
  const std::uint32_t px[4] = {0xFFFF0000, 0x00000000, 0x80FFFFFF, 0xFF00FF00};
  HICON icon = platform::gdi::create_icon_from_argb(px, 2, 2, POINT{1, 1}, true);
  ASSERT_NE(icon, nullptr);
  platform::gdi::IconPixels out;
  ASSERT_TRUE(platform::gdi::icon_pixels(icon, false, out));
  EXPECT_TRUE(out.is_cursor);
  EXPECT_EQ(out.hotspot.x, 1);
  EXPECT_EQ(std::vector<std::uint32_t>(px, px + 4), out.argb);
  EXPECT_EQ(platform::gdi::create_icon_from_argb(px, 3, 2, POINT{0, 0}, false), nullptr);
  DestroyCursor(icon);
  EXPECT_FALSE(platform::gdi::icon_pixels(icon, false, out));
}

}  // namespace
