#include <gtest/gtest.h>

#include "tests/ui/picture/picture_encoders.h"
#include "tests/ui/picture/picture_probe.h"
#include "ui/picture/codecs/codec.h"

namespace lyr::picture {
namespace {

using test::argb_at;

constexpr std::uint32_t kOpaque = 0xFF000000u;

std::vector<std::uint8_t> ramp_indices(int w, int h, int colours) {
  std::vector<std::uint8_t> v(std::size_t(w) * h);
  for (std::size_t i = 0; i < v.size(); ++i) v[i] = static_cast<std::uint8_t>((i * 7 + i / 3) % colours);
  return v;
}

std::vector<std::uint32_t> palette_of(int n) {
  std::vector<std::uint32_t> p;
  for (int i = 0; i < n; ++i) p.push_back(std::uint32_t(i * 0x010203 + 0x102030) & 0xFFFFFF);
  return p;
}

class BmpIndexed : public ::testing::TestWithParam<std::tuple<int, bool>> {};

TEST_P(BmpIndexed, EveryPixelComesFromThePalette) {
  const auto [bits, top_down] = GetParam();
  const int w = 13, h = 5;  // odd width: rows need padding
  const auto palette = palette_of(1 << bits);
  const auto indices = ramp_indices(w, h, 1 << bits);
  auto file = test::write_bmp_indexed(w, h, bits, palette, indices, top_down);
  auto r = decode_picture(file);
  ASSERT_TRUE(r.ok()) << r.error();
  const auto& p = r.value();
  EXPECT_EQ(p.kind, PictureFormat::bmp);
  EXPECT_EQ(p.width, w);
  EXPECT_EQ(p.height, h);
  ASSERT_EQ(p.pixels.size(), std::size_t(w * h * 3));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      ASSERT_EQ(argb_at(p, x, y), kOpaque | palette[indices[std::size_t(y * w + x)]]) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(Depths, BmpIndexed,
                         ::testing::Combine(::testing::Values(1, 4, 8), ::testing::Values(false, true)));

class BmpTrueColour : public ::testing::TestWithParam<std::tuple<int, bool>> {};

TEST_P(BmpTrueColour, PixelsKeepTheirColoursAndOrientation) {
  const auto [bits, top_down] = GetParam();
  const int w = 7, h = 4;
  std::vector<std::uint32_t> rgb;
  for (int i = 0; i < w * h; ++i)
    rgb.push_back(std::uint32_t(0x80000000u | (i * 0x0A0B0C)) & (bits == 32 ? ~0u : 0xFFFFFFu));
  auto r = decode_picture(test::write_bmp_rgb(w, h, bits, rgb, top_down));
  ASSERT_TRUE(r.ok()) << r.error();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      ASSERT_EQ(argb_at(r.value(), x, y), kOpaque | (rgb[std::size_t(y * w + x)] & 0xFFFFFF));
}

INSTANTIATE_TEST_SUITE_P(Depths, BmpTrueColour,
                         ::testing::Combine(::testing::Values(24, 32), ::testing::Values(false, true)));

TEST(BmpDecode, PixelsStartAtTheirOffsetNotAfterThePalette) {
  const auto palette = palette_of(16);
  const auto indices = ramp_indices(6, 3, 16);
  auto r = decode_picture(test::write_bmp_indexed(6, 3, 4, palette, indices, false, 10));
  ASSERT_TRUE(r.ok()) << r.error();
  EXPECT_EQ(argb_at(r.value(), 5, 2), kOpaque | palette[indices[17]]);
}

TEST(BmpDecode, SizeReadsOnlyTheHeader) {
  auto file = test::write_bmp_rgb(9, 2, 24, std::vector<std::uint32_t>(18, 0x123456));
  file.resize(60);  // pixels cut off
  auto size = bmp_codec().size(file, default_limits());
  ASSERT_TRUE(size.ok()) << size.error();
  EXPECT_EQ(size.value().width, 9);
  EXPECT_EQ(size.value().height, 2);
  EXPECT_FALSE(bmp_codec().decode(file, default_limits()).ok());
  EXPECT_FALSE(bmp_codec().animated(file, default_limits()));
}

}  // namespace
}  // namespace lyr::picture
