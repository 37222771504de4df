#include <gtest/gtest.h>

#include "tests/ui/picture/picture_encoders.h"
#include "tests/ui/picture/picture_probe.h"
#include "ui/picture/codecs/codec.h"
#include "ui/picture/codecs/ico_codec.h"

namespace lyr::picture {
namespace {

using test::argb_at;
using test::IconEntryLayout;

IconEntryLayout solid(int size, int bits, std::uint32_t rgb, int dir_colours) {
  IconEntryLayout e;
  e.width = e.height = size;
  e.bits = bits;
  e.dir_colours = dir_colours;
  if (bits <= 8) {
    e.palette = {0x000000, rgb};
    e.palette.resize(std::size_t{1} << bits, 0x777777);
    e.indices.assign(std::size_t(size) * size, 1);
  } else {
    e.argb.assign(std::size_t(size) * size, 0xFF000000u | rgb);
  }
  return e;
}

TEST(IconDecode, FirstThirtyTwoPixelEntryWithMoreThanFifteenColoursIsChosen) {
  auto file = test::write_icon({solid(16, 8, 0x110000, 0), solid(32, 4, 0x220000, 16),
                                solid(32, 8, 0x330000, 0), solid(48, 32, 0x440000, 0)});
  auto r = decode_picture(file);
  ASSERT_TRUE(r.ok()) << r.error();
  EXPECT_EQ(r.value().kind, PictureFormat::ico);
  EXPECT_EQ(r.value().width, 32);
  EXPECT_EQ(argb_at(r.value(), 3, 3), 0xFF220000u);
}

TEST(IconDecode, WithoutAQualifyingEntryTheLastIsUsed) {
  // 32 pixels but only 15 colours, and a 32-bit entry whose colour byte is 0.
  auto file =
      test::write_icon({solid(32, 4, 0x110000, 15), solid(32, 32, 0x220000, 0), solid(16, 24, 0x330000, 0)});
  auto r = decode_picture(file);
  ASSERT_TRUE(r.ok()) << r.error();
  EXPECT_EQ(r.value().width, 16);
  EXPECT_EQ(argb_at(r.value(), 0, 0), 0xFF330000u);
}

class IconDepth : public ::testing::TestWithParam<int> {};

TEST_P(IconDepth, AndMaskMakesPixelsTransparent) {
  const int bits = GetParam();
  IconEntryLayout e = solid(8, bits, 0x00A0B0, 0);
  e.mask.assign(64, false);
  e.mask[0] = true;                               // top-left
  e.mask[63] = true;                              // bottom-right
  if (bits == 32) e.argb.assign(64, 0x0000A0B0);  // alpha all zero: the mask decides
  auto r = decode_picture(test::write_icon({e}));
  ASSERT_TRUE(r.ok()) << r.error();
  EXPECT_EQ(argb_at(r.value(), 0, 0) >> 24, 0u);
  EXPECT_EQ(argb_at(r.value(), 7, 7) >> 24, 0u);
  EXPECT_EQ(argb_at(r.value(), 1, 0), 0xFF00A0B0u);
  EXPECT_EQ(argb_at(r.value(), 7, 6), 0xFF00A0B0u);
}

INSTANTIATE_TEST_SUITE_P(Depths, IconDepth, ::testing::Values(1, 4, 8, 24, 32));

// 16-bit colours as 5-5-5 and, with colour masks, 5-6-5; 32-bit ones with masks too. Each
// channel is at its full strength or off, so every layout gives the same colours exactly.
TEST(IconDecode, SixteenBitAndMaskedEntriesDecodeWithTheirAndMask) {
  const std::vector<std::uint32_t> colours{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
  struct Layout {
    int bits;
    std::vector<std::uint32_t> masks;
  };
  for (const Layout& layout :
       {Layout{16, {}}, Layout{16, {0xF800, 0x07E0, 0x001F}}, Layout{32, {0x0000FF, 0x00FF00, 0xFF0000}}}) {
    IconEntryLayout e = solid(4, layout.bits, 0, 0);
    e.masks = layout.masks;
    for (std::size_t i = 0; i < e.argb.size(); ++i) e.argb[i] = colours[i % colours.size()];
    e.mask.assign(16, false);
    e.mask[15] = true;
    auto r = decode_picture(test::write_icon({e}));
    ASSERT_TRUE(r.ok()) << layout.bits << " bits: " << r.error();
    for (int i = 0; i < 15; ++i)
      EXPECT_EQ(argb_at(r.value(), i % 4, i / 4), 0xFF000000u | colours[std::size_t(i) % colours.size()])
          << layout.bits << " bits, pixel " << i;
    EXPECT_EQ(argb_at(r.value(), 3, 3) >> 24, 0u) << layout.bits << " bits";
  }
}

TEST(IconDecode, ThirtyTwoBitAlphaWinsOverTheMask) {
  IconEntryLayout e = solid(4, 32, 0, 0);
  e.argb = std::vector<std::uint32_t>(16, 0xFF102030);
  e.argb[5] = 0x40102030;
  e.mask.assign(16, true);  // ignored: the colour bits carry alpha
  auto r = decode_picture(test::write_icon({e}));
  ASSERT_TRUE(r.ok()) << r.error();
  EXPECT_EQ(argb_at(r.value(), 1, 1), 0x40102030u);
  EXPECT_EQ(argb_at(r.value(), 0, 0), 0xFF102030u);
}

TEST(IconDecode, EmbeddedPngEntriesDecode) {
  IconEntryLayout e = solid(256, 32, 0, 0);
  e.as_png = true;
  e.argb.assign(256 * 256, 0x80FF8000);
  e.dir_width = 0;  // 256 is written as 0
  auto r = decode_picture(test::write_icon({e}));
  ASSERT_TRUE(r.ok()) << r.error();
  EXPECT_EQ(r.value().width, 256);
  EXPECT_EQ(r.value().height, 256);
  EXPECT_EQ(argb_at(r.value(), 255, 255), 0x80FF8000u);
}

TEST(IconDecode, CursorsKeepTheirHotSpot) {
  IconEntryLayout e = solid(32, 8, 0x123456, 0);
  e.hotspot_x = 5;
  e.hotspot_y = 9;
  auto r = decode_picture(test::write_icon({e}, true));
  ASSERT_TRUE(r.ok()) << r.error();
  EXPECT_EQ(r.value().kind, PictureFormat::cur);
  EXPECT_EQ(r.value().hotspot_x, 5);
  EXPECT_EQ(r.value().hotspot_y, 9);
  EXPECT_EQ(argb_at(r.value(), 31, 31), 0xFF123456u);
}

}  // namespace
}  // namespace lyr::picture
