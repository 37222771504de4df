#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/ui/picture/picture_encoders.h"
#include "tests/ui/picture/picture_probe.h"
#include "ui/picture/codecs/codec.h"
#include "ui/picture/picture_pixels.h"

namespace lyr::picture {
namespace {

using test::argb_at;
using test::quadrants;
using B = std::vector<std::uint8_t>;

bool near(std::uint32_t a, std::uint32_t b, int tolerance) {
  for (int shift = 0; shift < 32; shift += 8)
    if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance) return false;
  return true;
}

TEST(JpegDecode, ThreeHundredByTwoHundredIsBgrBottomUp) {
  auto r = decode_picture(test::write_jpeg(300, 200, quadrants(300, 200)));
  ASSERT_TRUE(r.ok()) << r.error();
  const auto& p = r.value();
  EXPECT_EQ(p.kind, PictureFormat::jpeg);
  EXPECT_EQ(p.width, 300);
  EXPECT_EQ(p.height, 200);
  ASSERT_EQ(p.pixels.size(), 300u * 200 * 3);
  EXPECT_TRUE(near(argb_at(p, 40, 30), 0xFFE02010, 6));
  EXPECT_TRUE(near(argb_at(p, 260, 30), 0xFF1020E0, 6));
  EXPECT_TRUE(near(argb_at(p, 40, 170), 0xFF20C020, 6));
  EXPECT_TRUE(near(argb_at(p, 260, 170), 0xFFF0F0F0, 6));
  // The first stored bytes are the bottom-left pixel, blue first.
  EXPECT_NEAR(p.pixels[0], 0x20, 6);
  EXPECT_NEAR(p.pixels[1], 0xC0, 6);
  EXPECT_NEAR(p.pixels[2], 0x20, 6);
}

TEST(JpegDecode, ProgressiveFilesDecodeWithinTheScanLimit) {
  auto file = test::write_jpeg(64, 48, quadrants(64, 48), 90, true);
  auto r = decode_picture(file);
  ASSERT_TRUE(r.ok()) << r.error();
  EXPECT_TRUE(near(argb_at(r.value(), 5, 5), 0xFFE02010, 8));
  DecodeLimits tight;
  tight.max_jpeg_scans = 3;
  auto limited = decode_picture(file, tight);
  ASSERT_FALSE(limited.ok());
  EXPECT_NE(limited.error().find("too many scans"), std::string::npos) << limited.error();
}

// Repeats the last scan (its SOS segment and entropy data) until the file holds thousands.
B with_repeated_last_scan(const B& jpeg, int copies) {
  std::size_t sos = 0;
  for (std::size_t i = 0; i + 1 < jpeg.size(); ++i)
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA) sos = i;
  B out(jpeg.begin(), jpeg.begin() + std::ptrdiff_t(sos));
  B scan(jpeg.begin() + std::ptrdiff_t(sos), jpeg.end() - 2);
  for (int i = 0; i < copies; ++i) out.insert(out.end(), scan.begin(), scan.end());
  out.insert(out.end(), {0xFF, 0xD9});
  return out;
}

TEST(JpegDecode, ThousandsOfScansStopEarly) {
  auto file = with_repeated_last_scan(test::write_jpeg(32, 32, quadrants(32, 32), 90, true), 3000);
  EXPECT_FALSE(decode_picture(file).ok());
}

TEST(JpegDecode, TruncatedOrDamagedDataIsNoPicture) {
  auto file = test::write_jpeg(64, 64, quadrants(64, 64));
  EXPECT_FALSE(decode_picture(B(file.begin(), file.begin() + std::ptrdiff_t(file.size() / 2))).ok());
  EXPECT_FALSE(decode_picture(B(file.begin(), file.begin() + 8)).ok());
  EXPECT_FALSE(decode_picture(B{0xFF, 0xD8, 0xFF, 0xD9, 0, 0, 0, 0}).ok());
  auto size = jpeg_codec().size(file, default_limits());
  ASSERT_TRUE(size.ok());
  EXPECT_EQ(size.value().width, 64);
}

TEST(JpegDecode, OversizedFramesAreRejectedBeforeDecoding) {
  auto file = test::write_jpeg(64, 64, quadrants(64, 64));
  DecodeLimits small;
  small.max_pixels = 64 * 63;
  EXPECT_FALSE(decode_picture(file, small).ok());
}

TEST(PngDecode, PixelsAreBgraTopDownWithAlphaKept) {
  const std::vector<std::uint32_t> argb = {0xFFFF0000, 0x80FF0000, 0x00000000, 0xFF00FF00,
                                           0xFF0000FF, 0x40102030, 0xFFFFFFFF, 0xC0808080};
  auto r = decode_picture(test::write_png(4, 2, argb));
  ASSERT_TRUE(r.ok()) << r.error();
  const auto& p = r.value();
  EXPECT_EQ(p.kind, PictureFormat::png);
  ASSERT_EQ(p.pixels.size(), 4u * 2 * 4);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(argb_at(p, i % 4, i / 4), argb[std::size_t(i)]) << i;
  EXPECT_EQ(B(p.pixels.begin(), p.pixels.begin() + 8), (B{0, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0x80}));
}

TEST(PngDecode, HalfTransparentPixelBlendsWithTheBackground) {
  auto r = decode_picture(test::write_png(2, 1, {0x80FF0000, 0xFF123456}));
  ASSERT_TRUE(r.ok()) << r.error();
  const COLORREF button_face = RGB(240, 240, 240);
  auto bgra = to_bgra_top_down(r.value(), button_face);
  ASSERT_EQ(bgra.size(), 8u);
  // 128/255 of red over 127/255 of the grey: R = 248, G = B = 120; opaque pixels unchanged.
  EXPECT_EQ(B(bgra.begin(), bgra.end()), (B{120, 120, 248, 255, 0x56, 0x34, 0x12, 255}));
}

B png_with_ihdr(std::uint32_t w, std::uint32_t h) {
  B png = test::write_png(1, 1, {0xFF000000});
  for (int i = 0; i < 4; ++i) {
    png[16 + i] = std::uint8_t(w >> (24 - 8 * i));
    png[20 + i] = std::uint8_t(h >> (24 - 8 * i));
  }
  return png;
}

TEST(PngDecode, RowAndColumnLimitsComeBeforeLibpng) {
  EXPECT_FALSE(decode_picture(png_with_ihdr(40000, 1)).ok());
  EXPECT_FALSE(decode_picture(png_with_ihdr(1, 40000)).ok());
  EXPECT_FALSE(decode_picture(png_with_ihdr(0x7FFFFFFF, 0x7FFFFFFF)).ok());
  EXPECT_FALSE(decode_picture(png_with_ihdr(0, 1)).ok());
}

TEST(PngDecode, ChunksThatLeaveTheDataAreRejected) {
  B png = test::write_png(2, 2, std::vector<std::uint32_t>(4, 0xFF00FF00));
  ASSERT_TRUE(decode_picture(png).ok());
  // IDAT's length field (after signature and IHDR) claims 2 GB.
  B huge = png;
  huge[33] = 0x7F;
  EXPECT_FALSE(decode_picture(huge).ok());
  for (std::size_t n : {8u, 20u, 33u, 40u})
    EXPECT_FALSE(decode_picture(B(png.begin(), png.begin() + n)).ok()) << n;
  EXPECT_FALSE(decode_picture(B(png.begin(), png.end() - 12)).ok());  // no IEND
  B bad_crc = png;
  bad_crc[29] ^= 0xFF;  // IHDR's CRC
  EXPECT_FALSE(decode_picture(bad_crc).ok());
}

}  // namespace
}  // namespace lyr::picture
