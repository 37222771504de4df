// Damaged and hostile BMP files: each must give "no picture", never a crash or a huge
// allocation. The base file is a valid 2x1 8-bit bitmap; each case changes one field.
#include <gtest/gtest.h>

#include "tests/support/byte_patch.h"
#include "ui/picture/codecs/codec.h"

namespace lyr::picture {
namespace {

using B = std::vector<std::uint8_t>;
using test_support::with_u16;
using test_support::with_u32;

const B kTwoByOne8Bit = {
    'B',  'M',                        // signature
    0x42, 0,    0,    0,              // file size 66
    0,    0,    0,    0,              // reserved
    0x3E, 0,    0,    0,              // bfOffBits 62 = 14 + 40 + 2 palette entries
    40,   0,    0,    0,              // biSize
    2,    0,    0,    0,              // biWidth 2
    1,    0,    0,    0,              // biHeight 1 (bottom-up)
    1,    0,                          // biPlanes
    8,    0,                          // biBitCount
    0,    0,    0,    0,              // biCompression BI_RGB
    4,    0,    0,    0,              // biSizeImage
    0,    0,    0,    0, 0, 0, 0, 0,  // resolution
    2,    0,    0,    0,              // biClrUsed 2
    0,    0,    0,    0,              // biClrImportant
    0x00, 0x00, 0xFF, 0,              // palette 0: red
    0xFF, 0x00, 0x00, 0,              // palette 1: blue
    1,    0,    0,    0,              // pixels: blue, red, row padding
};

bool decodes(const B& b) {
  return decode_picture(b).ok();
}

TEST(HostileBmp, TheBaseFileIsValid) {
  auto r = decode_picture(kTwoByOne8Bit);
  ASSERT_TRUE(r.ok()) << r.error();
  EXPECT_EQ(r.value().pixels, (B{0xFF, 0, 0, 0, 0, 0xFF}));
}

TEST(HostileBmp, HeightIntMinIsRejected) {
  EXPECT_FALSE(decodes(with_u32(kTwoByOne8Bit, 22, 0x80000000u)));
}

TEST(HostileBmp, WidthIntMinAndZeroSizesAreRejected) {
  EXPECT_FALSE(decodes(with_u32(kTwoByOne8Bit, 18, 0x80000000u)));
  EXPECT_FALSE(decodes(with_u32(kTwoByOne8Bit, 18, 0)));
  EXPECT_FALSE(decodes(with_u32(kTwoByOne8Bit, 22, 0)));
}

TEST(HostileBmp, ANegativeWidthIsItsAbsoluteValue) {
  auto r = decode_picture(with_u32(kTwoByOne8Bit, 18, static_cast<std::uint32_t>(-2)));
  ASSERT_TRUE(r.ok()) << r.error();
  EXPECT_EQ(r.value().width, 2);
  EXPECT_EQ(r.value().pixels, decode_picture(kTwoByOne8Bit).value().pixels);
}

TEST(HostileBmp, SizesWhoseProductOverflowsAreRejectedBeforeAllocating) {
  B b = with_u32(kTwoByOne8Bit, 18, 0x7FFFFFFF);
  b = with_u32(b, 22, 0x7FFFFFFF);
  EXPECT_FALSE(decodes(b));
  b = with_u32(with_u32(kTwoByOne8Bit, 18, 0x10000), 22, 0x10000);  // 2^32 pixels
  EXPECT_FALSE(decodes(b));
  b = with_u16(with_u32(kTwoByOne8Bit, 18, 30000), 28, 32);  // 30000 x 1 x 32 bits, no data
  EXPECT_FALSE(decodes(b));
}

TEST(HostileBmp, ColourCountAboveTheBitCountIsRejected) {
  EXPECT_FALSE(decodes(with_u32(kTwoByOne8Bit, 46, 257)));
  EXPECT_FALSE(decodes(with_u32(kTwoByOne8Bit, 46, 0xFFFFFFFFu)));
  B one_bit = with_u16(kTwoByOne8Bit, 28, 1);
  EXPECT_FALSE(decodes(with_u32(one_bit, 46, 3)));
}

TEST(HostileBmp, PixelIndexBeyondThePaletteIsRejected) {
  B b = kTwoByOne8Bit;
  b[62] = 2;  // only entries 0 and 1 exist
  EXPECT_FALSE(decodes(b));
}

TEST(HostileBmp, OddHeaderSizesAreRejected) {
  EXPECT_FALSE(decodes(with_u32(kTwoByOne8Bit, 14, 12)));  // the old 12-byte header
  EXPECT_FALSE(decodes(with_u32(kTwoByOne8Bit, 14, 39)));
  EXPECT_FALSE(decodes(with_u32(kTwoByOne8Bit, 14, 0xFFFFFFF0u)));  // past the end
  EXPECT_FALSE(decodes(with_u32(kTwoByOne8Bit, 14, 41)));           // palette would overlap pixels
}

TEST(HostileBmp, PixelOffsetPastTheEndOrInsideThePaletteIsRejected) {
  EXPECT_FALSE(decodes(with_u32(kTwoByOne8Bit, 10, 66)));  // at the end: no pixels
  EXPECT_FALSE(decodes(with_u32(kTwoByOne8Bit, 10, 0xFFFFFFFFu)));
  EXPECT_FALSE(decodes(with_u32(kTwoByOne8Bit, 10, 58)));  // inside the palette
}

TEST(HostileBmp, IllegalBitCountsAreRejected) {
  for (std::uint16_t bits : {0, 2, 3, 7, 16, 33, 0xFFFF})
    EXPECT_FALSE(decodes(with_u16(kTwoByOne8Bit, 28, bits))) << bits;
}

TEST(HostileBmp, CompressedVariantsAreRejected) {
  for (std::uint32_t compression : {1u, 2u, 3u, 4u, 5u})
    EXPECT_FALSE(decodes(with_u32(kTwoByOne8Bit, 30, compression)));
}

TEST(HostileBmp, EveryTruncationIsRejected) {
  for (std::size_t n = 0; n < kTwoByOne8Bit.size(); ++n)
    EXPECT_FALSE(decodes(B(kTwoByOne8Bit.begin(), kTwoByOne8Bit.begin() + std::ptrdiff_t(n)))) << n;
}

}  // namespace
}  // namespace lyr::picture
