// Damaged and hostile icon files. The base file is a valid icon with one 1x1 1-bit entry.
#include <gtest/gtest.h>

#include "tests/support/byte_patch.h"
#include "tests/ui/picture/picture_encoders.h"
#include "ui/picture/codecs/codec.h"

namespace lyr::picture {
namespace {

using B = std::vector<std::uint8_t>;
using test_support::with_u32;

const B kOneByOneIcon = {
    0,    0,                          // reserved
    1,    0,                          // type: icon
    1,    0,                          // one entry
    1,                                // entry: width byte
    1,                                // height byte
    2,                                // colour count
    0,                                // reserved
    1,    0,                          // planes
    1,    0,                          // bit count
    0x38, 0,    0,    0,              // image size 56
    0x16, 0,    0,    0,              // image offset 22
    40,   0,    0,    0,              // biSize
    1,    0,    0,    0,              // biWidth 1
    2,    0,    0,    0,              // biHeight 2 (colour rows + mask rows)
    1,    0,                          // biPlanes
    1,    0,                          // biBitCount
    0,    0,    0,    0,              // biCompression
    0,    0,    0,    0,              // biSizeImage
    0,    0,    0,    0, 0, 0, 0, 0,  // resolution
    0,    0,    0,    0,              // biClrUsed: 2^1
    0,    0,    0,    0,              // biClrImportant
    0,    0,    0,    0,              // palette 0: black
    0xFF, 0xFF, 0xFF, 0,              // palette 1: white
    0x80, 0,    0,    0,              // colour row: pixel 1 (white)
    0x00, 0,    0,    0,              // mask row: opaque
};

bool decodes(const B& b) {
  return decode_picture(b).ok();
}

TEST(HostileIcon, TheBaseFileIsValid) {
  auto r = decode_picture(kOneByOneIcon);
  ASSERT_TRUE(r.ok()) << r.error();
  EXPECT_EQ(r.value().pixels, (B{0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(HostileIcon, HugeImageCountInATinyFile) {
  B b = kOneByOneIcon;
  b[4] = 0xFF;
  b[5] = 0xFF;
  EXPECT_FALSE(decodes(b));
}

TEST(HostileIcon, OffsetPlusSizeOverflowingOrPastTheEnd) {
  EXPECT_FALSE(decodes(with_u32(with_u32(kOneByOneIcon, 18, 0xFFFFFFF0u), 14, 0x20)));
  EXPECT_FALSE(decodes(with_u32(kOneByOneIcon, 14, 0xFFFFFFFFu)));
  EXPECT_FALSE(decodes(with_u32(kOneByOneIcon, 14, 57)));
  EXPECT_FALSE(decodes(with_u32(kOneByOneIcon, 18, 23)));
  EXPECT_FALSE(decodes(with_u32(kOneByOneIcon, 14, 0)));
}

TEST(HostileIcon, HeightZeroOrOneRowIsNoPicture) {
  EXPECT_FALSE(decodes(with_u32(kOneByOneIcon, 30, 0)));
  EXPECT_FALSE(decodes(with_u32(kOneByOneIcon, 30, 1)));            // half of it rounds to 0
  EXPECT_FALSE(decodes(with_u32(kOneByOneIcon, 30, 0xFFFFFFFEu)));  // top-down
}

TEST(HostileIcon, DirectoryByteZeroMeans256AndDoesNotMatterForDecoding) {
  B b = kOneByOneIcon;
  b[6] = 0;
  b[7] = 0;
  auto r = decode_picture(b);
  ASSERT_TRUE(r.ok()) << r.error();
  EXPECT_EQ(r.value().width, 1);  // the image header decides
}

TEST(HostileIcon, IllegalBitDepthOrNonPositiveSizeInTheHeader) {
  B b = kOneByOneIcon;
  b[36] = 3;  // biBitCount
  EXPECT_FALSE(decodes(b));
  b[36] = 64;
  EXPECT_FALSE(decodes(b));
  b[36] = 16;  // an icon depth (not a bitmap file's): the palette bytes become the pixel row
  EXPECT_TRUE(decodes(b));
  EXPECT_FALSE(decodes(with_u32(kOneByOneIcon, 26, 0)));            // biWidth 0
  EXPECT_FALSE(decodes(with_u32(kOneByOneIcon, 26, 0xFFFFFFFFu)));  // biWidth -1
  EXPECT_FALSE(decodes(with_u32(kOneByOneIcon, 22, 8)));            // biSize below 40
  EXPECT_FALSE(decodes(with_u32(kOneByOneIcon, 26, 0x10000)));      // colour bits missing
}

TEST(HostileIcon, MissingAndMask) {
  B b = with_u32(kOneByOneIcon, 14, 52);
  b.resize(b.size() - 4);
  EXPECT_FALSE(decodes(b));
}

TEST(HostileIcon, EmbeddedPngIsHeldToTheSameLimits) {
  test::IconEntryLayout e;
  e.width = e.height = 2;
  e.as_png = true;
  e.argb.assign(4, 0xFF000000);
  B file = test::write_icon({e});
  ASSERT_TRUE(decodes(file));
  DecodeLimits three_pixels;
  three_pixels.max_pixels = 3;
  EXPECT_FALSE(ico_codec().decode(file, three_pixels).ok());
  B cut = file;
  cut.resize(cut.size() - 20);
  EXPECT_FALSE(decodes(cut));
}

TEST(HostileIcon, EveryTruncationIsRejected) {
  for (std::size_t n = 0; n < kOneByOneIcon.size(); ++n)
    EXPECT_FALSE(decodes(B(kOneByOneIcon.begin(), kOneByOneIcon.begin() + std::ptrdiff_t(n)))) << n;
}

}  // namespace
}  // namespace lyr::picture
