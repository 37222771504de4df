#include "ui/picture/picture_render.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/api/gdi.h"
#include "tests/platform/gdi/gdi_fixture.h"
#include "tests/ui/picture/picture_encoders.h"
#include "ui/picture/codecs/codec.h"

namespace lyr::picture {
namespace {

// A memory DC over a 32-bit DIB section, the size of a picture box's client area.
using Canvas = gdi_test::Surface;

bool near(COLORREF a, COLORREF b, int tolerance) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
         std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

using test::quadrants;
const COLORREF kRed = RGB(0xE0, 0x20, 0x10), kBlue = RGB(0x10, 0x20, 0xE0), kGreen = RGB(0x20, 0xC0, 0x20),
               kGrey = RGB(0xF0, 0xF0, 0xF0);

RenderedPicture render(const std::vector<std::uint8_t>& bytes, COLORREF background = kDefaultColour) {
  auto decoded = decode_picture(bytes);
  if (!decoded.ok()) throw std::runtime_error(decoded.error());
  auto rendered = render_picture(decoded.value(), background);
  if (!rendered) throw std::runtime_error("render failed");
  return std::move(*rendered);
}

TEST(PictureRender, LargeJpegInModeTwoIsDrawnScaledAndCentred) {
  const RenderedPicture jpeg = render(test::write_jpeg(300, 200, quadrants(300, 200)));
  ASSERT_NE(jpeg.bitmap(), nullptr);
  Canvas box(180, 180);
  paint_picture_box(box.dc(), &jpeg, 2, 180, 180, kDefaultColour);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  // 180 x 120 at vertical offset 30: rows 0-29 and 150-179 are background.
  for (int x : {0, 90, 179}) {
    EXPECT_EQ(box.At(x, 0), face);
    EXPECT_EQ(box.At(x, 29), face);
    EXPECT_NE(box.At(x, 30), face);
    EXPECT_NE(box.At(x, 149), face);
    EXPECT_EQ(box.At(x, 150), face);
    EXPECT_EQ(box.At(x, 179), face);
  }
  EXPECT_TRUE(near(box.At(40, 55), kRed, 12));
  EXPECT_TRUE(near(box.At(140, 55), kBlue, 12));
  EXPECT_TRUE(near(box.At(40, 125), kGreen, 12));
  EXPECT_TRUE(near(box.At(140, 125), kGrey, 12));
}

TEST(PictureRender, JpegInModeZeroIsNaturalSizeFromTheTopLeft) {
  const RenderedPicture jpeg = render(test::write_jpeg(300, 200, quadrants(300, 200)));
  Canvas box(180, 180);
  paint_picture_box(box.dc(), &jpeg, 0, 180, 180, RGB(1, 2, 3));
  EXPECT_TRUE(near(box.At(10, 10), kRed, 8));
  EXPECT_TRUE(near(box.At(160, 10), kBlue, 8));   // x 150 on is the right half: unscaled
  EXPECT_TRUE(near(box.At(10, 110), kGreen, 8));  // y 100 on is the lower half
  EXPECT_TRUE(near(box.At(179, 179), kGrey, 8));  // the rest is clipped by the box
  EXPECT_TRUE(near(box.At(140, 90), kRed, 8));
}

TEST(PictureRender, StretchedModeFillsTheClientArea) {
  const RenderedPicture png = render(test::write_png(2, 2, {0xFFFF0000, 0xFF0000FF, 0xFF00FF00, 0xFFFFFFFF}));
  Canvas box(180, 90);
  paint_picture_box(box.dc(), &png, 1, 180, 90, RGB(1, 2, 3));
  EXPECT_TRUE(near(box.At(5, 5), RGB(255, 0, 0), 16));
  EXPECT_TRUE(near(box.At(175, 5), RGB(0, 0, 255), 16));
  EXPECT_TRUE(near(box.At(5, 85), RGB(0, 255, 0), 16));
  EXPECT_TRUE(near(box.At(175, 85), RGB(255, 255, 255), 16));
}

TEST(PictureRender, HalfTransparentPngPixelBlendsWithTheButtonFace) {
  ASSERT_EQ(GetSysColor(COLOR_BTNFACE), RGB(212, 208, 200));
  const RenderedPicture png = render(test::write_png(2, 1, {0x80FF0000, 0x00000000}));
  Canvas box(4, 1);
  paint_picture_box(box.dc(), &png, 0, 4, 1, kDefaultColour);
  // 128/255 red over 127/255 of RGB(212, 208, 200).
  EXPECT_EQ(box.At(0, 0), RGB(234, 104, 100));
  EXPECT_EQ(box.At(1, 0), RGB(212, 208, 200));  // fully transparent: the background itself
  EXPECT_EQ(box.At(3, 0), RGB(212, 208, 200));
}

TEST(PictureRender, IconsBecomeIconHandlesDrawnWithTheirMask) {
  const test::IconEntryLayout e = test::corner_masked_icon();
  const RenderedPicture icon = render(test::write_icon({e}));
  ASSERT_NE(icon.icon(), nullptr);
  EXPECT_EQ(icon.bitmap(), nullptr);
  Canvas box(6, 6);
  paint_picture_box(box.dc(), &icon, 0, 6, 6, RGB(9, 9, 9));
  EXPECT_EQ(box.At(0, 0), RGB(9, 9, 9));
  EXPECT_EQ(box.At(1, 0), RGB(0x30, 0x60, 0xF0));
  EXPECT_EQ(box.At(3, 3), RGB(0x30, 0x60, 0xF0));
  EXPECT_EQ(box.At(4, 4), RGB(9, 9, 9));
}

TEST(PictureRender, NoPicturePaintsOnlyTheBackground) {
  EXPECT_FALSE(decode_picture(std::vector<std::uint8_t>{}).ok());
  Canvas box(8, 8);
  paint_picture_box(box.dc(), nullptr, 2, 8, 8, RGB(50, 60, 70));
  EXPECT_EQ(box.At(0, 0), RGB(50, 60, 70));
  EXPECT_EQ(box.At(7, 7), RGB(50, 60, 70));
  RenderedPicture empty;
  paint_picture_box(box.dc(), &empty, 0, 8, 8, RGB(1, 1, 1));
  EXPECT_EQ(box.At(4, 4), RGB(1, 1, 1));
  EXPECT_FALSE(render_picture(DecodedPicture{}, 0).has_value());
}

TEST(PictureRender, EveryFormatRendersToTheSamePixels) {
  const std::vector<std::uint32_t> palette = {0x102030, 0xA0B0C0};
  const std::vector<std::uint8_t> indices = {0, 1, 1, 0};
  std::vector<std::vector<std::uint8_t>> files = {
      test::write_bmp_indexed(2, 2, 8, palette, indices),
      test::write_bmp_rgb(2, 2, 24, {0x102030, 0xA0B0C0, 0xA0B0C0, 0x102030}),
      test::write_png(2, 2, {0xFF102030, 0xFFA0B0C0, 0xFFA0B0C0, 0xFF102030}),
      test::write_pcx8(2, 2, indices, palette),
  };
  test::GifLayout gif;
  gif.width = gif.height = 2;
  gif.global_palette = palette;
  test::GifFrameLayout f;
  f.width = f.height = 2;
  f.indices = indices;
  gif.frames = {f};
  files.push_back(test::write_gif(gif));
  for (std::size_t i = 0; i < files.size(); ++i) {
    const RenderedPicture picture = render(files[i]);
    Canvas box(2, 2);
    paint_picture_box(box.dc(), &picture, 0, 2, 2, 0);
    EXPECT_EQ(box.At(0, 0), RGB(0x10, 0x20, 0x30)) << i;
    EXPECT_EQ(box.At(1, 0), RGB(0xA0, 0xB0, 0xC0)) << i;
    EXPECT_EQ(box.At(0, 1), RGB(0xA0, 0xB0, 0xC0)) << i;
  }
  const RenderedPicture mono = render(test::write_pcx1(2, 1, {true, false}));
  Canvas box(2, 1);
  paint_picture_box(box.dc(), &mono, 0, 2, 1, RGB(7, 7, 7));
  EXPECT_EQ(box.At(0, 0), RGB(255, 255, 255));
  EXPECT_EQ(box.At(1, 0), RGB(0, 0, 0));
}

TEST(PictureRender, BackgroundPicturesTile) {
  const RenderedPicture png = render(test::write_png(2, 1, {0xFFFF0000, 0xFF0000FF}));
  Canvas window(5, 2);
  draw_background_picture(window.dc(), png, 1, 5, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 5; ++x)
      EXPECT_EQ(window.At(x, y), x % 2 ? RGB(0, 0, 255) : RGB(255, 0, 0)) << x << "," << y;
}

TEST(PictureRender, MovedPicturesReleaseTheirHandleOnce) {
  RenderedPicture a = render(test::write_png(1, 1, {0xFF000000}));
  HBITMAP handle = a.bitmap();
  RenderedPicture b = std::move(a);
  EXPECT_TRUE(a.empty());
  EXPECT_EQ(b.bitmap(), handle);
  b.reset();
  EXPECT_TRUE(b.empty());
  // The handle is gone: gdi refuses it now.
  EXPECT_FALSE(DeleteObject(handle));
}

}  // namespace
}  // namespace lyr::picture
