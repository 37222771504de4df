// Damaged and hostile PCX files: a valid 3x2 8-bit base, one field changed per case.
#include <gtest/gtest.h>

#include "tests/support/byte_patch.h"
#include "tests/ui/picture/picture_probe.h"
#include "ui/picture/codecs/codec.h"

namespace lyr::picture {
namespace {

using B = std::vector<std::uint8_t>;
using test_support::with_u16;

constexpr std::size_t kXMax = 8, kYMax = 10, kPlanes = 65, kBytesPerLine = 66;

B three_by_two() {
  B b = {
      0x0A,           // manufacturer
      5,              // version
      1,              // encoding: RLE
      8,              // bits per pixel
      0,    0, 0, 0,  // xmin, ymin
      2,    0,        // xmax 2 (width 3)
      1,    0,        // ymax 1 (height 2)
  };
  b.resize(kPlanes, 0);                   // resolution, EGA palette, reserved
  b.push_back(1);                         // planes
  b.insert(b.end(), {4, 0});              // bytes per line 4
  b.resize(128, 0);                       // palette info and filler
  b.insert(b.end(), {0xC3, 7, 9});        // row 0: run of three 7s, then 9
  b.insert(b.end(), {1, 2, 3, 0xC1, 0});  // row 1: 1 2 3, then a run of one 0
  b.push_back(0x0C);                      // palette marker
  for (int i = 0; i < 768; ++i) b.push_back(std::uint8_t(i / 3));
  return b;
}

bool decodes(const B& b) {
  return decode_picture(b).ok();
}

TEST(HostilePcx, TheBaseFileIsValid) {
  auto r = decode_picture(three_by_two());
  ASSERT_TRUE(r.ok()) << r.error();
  EXPECT_EQ(test::index_at(r.value(), 2, 0), 7);
  EXPECT_EQ(test::index_at(r.value(), 2, 1), 3);
  EXPECT_EQ(test::argb_at(r.value(), 2, 1), 0xFF030303u);
}

TEST(HostilePcx, PlanesTimesBytesPerLineOutOfRange) {
  B b = three_by_two();
  b[kPlanes] = 0;
  EXPECT_FALSE(decodes(b));
  b[kPlanes] = 255;
  EXPECT_FALSE(decodes(b));
  EXPECT_FALSE(decodes(with_u16(three_by_two(), kBytesPerLine, 0)));
  // 65535 bytes a line: the data runs out long before, without a huge allocation per row.
  EXPECT_FALSE(decodes(with_u16(three_by_two(), kBytesPerLine, 0xFFFF)));
}

TEST(HostilePcx, LargeWidthWithShortLines) {
  EXPECT_FALSE(decodes(with_u16(three_by_two(), kXMax, 60000)));
  EXPECT_FALSE(decodes(with_u16(three_by_two(), kXMax, 4)));  // width 5 > 4 bytes a line
}

TEST(HostilePcx, RunCrossingTheEndOfARowContinuesOnTheNext) {
  B b = three_by_two();
  b[128] = 0xC6;  // six 7s: row 0 and the first two bytes of row 1
  b.erase(b.begin() + 130, b.begin() + 136);
  b.insert(b.begin() + 130, {0xC2, 0});  // then two 0s
  auto r = decode_picture(b);
  ASSERT_TRUE(r.ok()) << r.error();
  EXPECT_EQ(test::index_at(r.value(), 0, 1), 7);
  EXPECT_EQ(test::index_at(r.value(), 1, 1), 7);
  EXPECT_EQ(test::index_at(r.value(), 2, 1), 0);
}

TEST(HostilePcx, InvertedWindowIsRejected) {
  B b = with_u16(three_by_two(), 4, 3);  // xmin 3 > xmax 2
  EXPECT_FALSE(decodes(b));
  EXPECT_FALSE(decodes(with_u16(three_by_two(), 6, 2)));  // ymin 2 > ymax 1
}

TEST(HostilePcx, TruncatedDataIsRejected) {
  const B full = three_by_two();
  // Without the palette the RLE data must still be complete.
  for (std::size_t n = 0; n < 128 + 7; ++n)
    EXPECT_FALSE(decodes(B(full.begin(), full.begin() + std::ptrdiff_t(n)))) << n;
  EXPECT_TRUE(decodes(B(full.begin(), full.begin() + 128 + 8)));  // greys without the palette
  B run_at_end(full.begin(), full.begin() + 128 + 6);
  run_at_end.push_back(0xC1);  // a run whose value byte is missing
  EXPECT_FALSE(decodes(run_at_end));
}

// Planes hold one channel each; their data complete, they are still refused, not garbled.
TEST(HostilePcx, FilesWithSeveralPlanesAreRejected) {
  B b = three_by_two();
  b[1] = 3;
  b[3] = 1;
  ASSERT_EQ(detect_format(b), PictureFormat::pcx1);
  EXPECT_TRUE(decodes(b));
  b[kPlanes] = 4;
  EXPECT_FALSE(decodes(b));

  B rgb = three_by_two();
  rgb[kPlanes] = 3;
  rgb.erase(rgb.begin() + 128, rgb.begin() + 128 + 8);
  rgb.insert(rgb.begin() + 128, {0xCC, 5, 0xCC, 6});  // two rows of three 4-byte planes
  EXPECT_FALSE(decodes(rgb));
  rgb[kPlanes] = 1;
  EXPECT_TRUE(decodes(rgb)) << "the same data as one plane";
}

}  // namespace
}  // namespace lyr::picture
