#include <gtest/gtest.h>

#include "tests/ui/picture/picture_encoders.h"
#include "tests/ui/picture/picture_probe.h"
#include "ui/picture/codecs/codec.h"
#include "ui/picture/picture_pixels.h"

namespace lyr::picture {
namespace {

using B = std::vector<std::uint8_t>;

TEST(PcxDecode, EightBitRowsAreTopDownWithTheTrailingPalette) {
  const int w = 7, h = 3;
  std::vector<std::uint8_t> indices(w * h);
  for (int i = 0; i < w * h; ++i) indices[std::size_t(i)] = std::uint8_t(i < 7 ? 200 : i);  // a run in row 0
  std::vector<std::uint32_t> palette(256);
  for (int i = 0; i < 256; ++i) palette[std::size_t(i)] = std::uint32_t(i * 0x010101) ^ 0x00FF00;
  auto r = decode_picture(test::write_pcx8(w, h, indices, palette));
  ASSERT_TRUE(r.ok()) << r.error();
  const auto& p = r.value();
  EXPECT_EQ(p.kind, PictureFormat::pcx8);
  EXPECT_EQ(p.width, w);
  EXPECT_EQ(p.height, h);
  EXPECT_EQ(test::dib_height_field(p), -h);  // top-down
  ASSERT_EQ(p.pixels.size(), kPackedDibPixelsOffset + 8 * 3);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      ASSERT_EQ(test::index_at(p, x, y), indices[std::size_t(y * w + x)]);
      ASSERT_EQ(test::argb_at(p, x, y), 0xFF000000u | palette[indices[std::size_t(y * w + x)]]);
    }
}

TEST(PcxDecode, OneBitGivesMonochromeBitsPaddedToWords) {
  const int w = 19, h = 2;
  std::vector<bool> white(w * h);
  for (int i = 0; i < w * h; ++i) white[std::size_t(i)] = (i % 3) == 0;
  auto r = decode_picture(test::write_pcx1(w, h, white));
  ASSERT_TRUE(r.ok()) << r.error();
  const auto& p = r.value();
  EXPECT_EQ(p.kind, PictureFormat::pcx1);
  ASSERT_EQ(p.pixels.size(), 4u * 2);  // 19 bits -> 2 words a row
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      ASSERT_EQ(test::argb_at(p, x, y), white[std::size_t(y * w + x)] ? 0xFFFFFFFFu : 0xFF000000u)
          << x << "," << y;
  auto bgra = to_bgra_top_down(p, 0);
  EXPECT_EQ(bgra[0], 255);  // pixel 0 is white
  EXPECT_EQ(bgra[4], 0);
}

TEST(PcxDecode, LinePaddingBeyondTheWidthIsDropped) {
  // bytes per line 8 for a width of 3: the five extra bytes of each line are not pixels.
  auto r = decode_picture(test::write_pcx8(3, 2, {1, 2, 3, 4, 5, 6}, {}, 8));
  ASSERT_TRUE(r.ok()) << r.error();
  EXPECT_EQ(test::index_at(r.value(), 0, 1), 4);
  EXPECT_EQ(test::index_at(r.value(), 2, 1), 6);
}

}  // namespace
}  // namespace lyr::picture
