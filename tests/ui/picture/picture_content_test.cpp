#include "ui/picture/picture_content.h"

#include <gtest/gtest.h>

#include "platform/api/dib_info.h"
#include "platform/api/gdi.h"
#include "tests/ui/picture/picture_encoders.h"
#include "ui/picture/codecs/gif_composer.h"

namespace lyr::picture {
namespace {

using B = std::vector<std::uint8_t>;

B two_frame_gif() {
  test::GifLayout layout;
  layout.width = 2, layout.height = 2;
  layout.global_palette = {0x000000, 0xFF0000};
  test::GifFrameLayout f;
  f.width = f.height = 2;
  f.indices = {1, 1, 1, 1};
  layout.frames = {f, f};
  return test::write_gif(layout);
}

TEST(PictureContent, EmptyBytesClearThePicture) {
  PictureContent content;
  content.set_bytes(test::write_png(3, 3, std::vector<std::uint32_t>(9, 0xFF00FF00)), true);
  ASSERT_TRUE(content.has_picture());
  ASSERT_NE(content.rendered(kDefaultColour), nullptr);
  content.set_bytes({}, true);
  EXPECT_FALSE(content.has_picture());
  EXPECT_EQ(content.rendered(kDefaultColour), nullptr);
  EXPECT_TRUE(content.bytes().empty());
}

TEST(PictureContent, UndecodableBytesAreKeptButShowNothing) {
  const B junk = {'B', 'M', 1, 2, 3, 4, 5, 6, 7, 8, 9};
  PictureContent content;
  content.set_bytes(junk, true);
  EXPECT_FALSE(content.has_picture());
  EXPECT_EQ(B(content.bytes().begin(), content.bytes().end()), junk);
}

TEST(PictureContent, AnimatedGifPlaysOnlyWhenAsked) {
  PictureContent content;
  content.set_bytes(two_frame_gif(), true);
  ASSERT_NE(content.animation(), nullptr);
  EXPECT_EQ(content.animation()->frames.size(), 2u);
  EXPECT_EQ(content.still(), nullptr);
  content.set_bytes(two_frame_gif(), false);
  EXPECT_EQ(content.animation(), nullptr);
  ASSERT_NE(content.still(), nullptr);
  EXPECT_EQ(content.still()->kind, PictureFormat::gif);
}

TEST(PictureContent, RenderingFollowsTheBackgroundColour) {
  PictureContent content;
  content.set_bytes(test::write_png(1, 1, {0x00000000}), false);  // fully transparent
  auto colour_of = [](const RenderedPicture* p) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, p->bitmap());
    const COLORREF c = GetPixel(dc, 0, 0);
    SelectObject(dc, old);
    DeleteDC(dc);
    return c;
  };
  EXPECT_EQ(colour_of(content.rendered(RGB(1, 2, 3))), RGB(1, 2, 3));
  EXPECT_EQ(colour_of(content.rendered(RGB(4, 5, 6))), RGB(4, 5, 6));
  EXPECT_EQ(colour_of(content.rendered(kDefaultColour)), GetSysColor(COLOR_BTNFACE));
}

TEST(PictureContent, AnimationFramesAreDrawnByTheDisplayMode) {
  PictureContent content;
  content.set_bytes(two_frame_gif(), true);
  GifComposer composer(*content.animation(), 0xFF000000);
  const auto& canvas = composer.draw(0);
  BITMAPINFO bi = platform::top_down_dib_info(10, 6);
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP target = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, target);
  // Mode 1 stretches the 2x2 red frame over all of the 10x6 client area.
  ASSERT_TRUE(draw_animation_frame(dc, canvas, 2, 2, 1, 10, 6));
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 9, 5), RGB(255, 0, 0));
  EXPECT_FALSE(draw_animation_frame(dc, std::span<const std::uint8_t>(canvas).first(3), 2, 2, 1, 10, 6));
  SelectObject(dc, old);
  DeleteObject(target);
  DeleteDC(dc);
}

}  // namespace
}  // namespace lyr::picture
