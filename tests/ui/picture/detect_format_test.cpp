#include <gtest/gtest.h>

#include "ui/picture/codecs/codec.h"

namespace lyr::picture {
namespace {

using B = std::vector<std::uint8_t>;

PictureFormat detect(const B& b) {
  return detect_format(b);
}

TEST(DetectFormat, EachSignatureInItsFirstEightBytes) {
  EXPECT_EQ(detect({'B', 'M', 0, 0, 0, 0, 0, 0}), PictureFormat::bmp);
  EXPECT_EQ(detect({0xFF, 0xD8, 0xFF, 0xE0, 0, 0, 0, 0}), PictureFormat::jpeg);
  EXPECT_EQ(detect({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}), PictureFormat::png);
  EXPECT_EQ(detect({0, 0, 1, 0, 1, 0, 0, 0}), PictureFormat::ico);
  EXPECT_EQ(detect({0, 0, 2, 0, 3, 0, 0, 0}), PictureFormat::cur);
  EXPECT_EQ(detect({'G', 'I', 'F', '8', '7', 'a', 1, 0}), PictureFormat::gif);
  EXPECT_EQ(detect({'G', 'I', 'F', '8', '9', 'a', 1, 0}), PictureFormat::gif);
  EXPECT_EQ(detect({0x0A, 5, 1, 8, 0, 0, 0, 0}), PictureFormat::pcx8);
  EXPECT_EQ(detect({0x0A, 3, 1, 1, 0, 0, 0, 0}), PictureFormat::pcx1);
}

TEST(DetectFormat, NearMissesAreNoPicture) {
  EXPECT_EQ(detect({0, 0, 1, 0, 0, 0, 0, 0}), PictureFormat::none);  // icon with count 0
  EXPECT_EQ(detect({0, 0, 3, 0, 1, 0, 0, 0}), PictureFormat::none);  // resource type 3
  EXPECT_EQ(detect({'G', 'I', 'F', '8', '8', 'a', 0, 0}), PictureFormat::none);
  EXPECT_EQ(detect({'G', 'I', 'F', '8', '9', 'b', 0, 0}), PictureFormat::none);
  EXPECT_EQ(detect({0x0A, 6, 1, 8, 0, 0, 0, 0}), PictureFormat::none);  // PCX version 6
  EXPECT_EQ(detect({0x0A, 5, 0, 8, 0, 0, 0, 0}), PictureFormat::none);  // not RLE
  EXPECT_EQ(detect({0x0A, 5, 1, 1, 0, 0, 0, 0}), PictureFormat::none);  // 1-bit needs version 3
  EXPECT_EQ(detect({0x0A, 3, 1, 4, 0, 0, 0, 0}), PictureFormat::none);  // 4 bits
  EXPECT_EQ(detect({0x89, 'P', 'N', 'g', 0, 0, 0, 0}), PictureFormat::none);
}

TEST(DetectFormat, FewerThanEightBytesAreNeverAPicture) {
  EXPECT_EQ(detect({}), PictureFormat::none);
  EXPECT_EQ(detect({'B', 'M'}), PictureFormat::none);
  // Seven bytes of a valid PNG signature.
  EXPECT_EQ(detect({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A}), PictureFormat::none);
  EXPECT_FALSE(decode_picture(B{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A}).ok());
  EXPECT_FALSE(decode_picture(B{}).ok());
}

TEST(DetectFormat, TheFirstMatchInTheStatedOrderWins) {
  // "BM" wins over everything; bytes that are both an icon directory and something later
  // cannot exist, but a PCX 1-bit header that is also PCX 8-bit-like is decided by its depth.
  EXPECT_EQ(detect({'B', 'M', 'P', 'N', 'G', 0, 0, 0}), PictureFormat::bmp);
  EXPECT_EQ(detect({0x0A, 3, 1, 8, 0, 0, 0, 0}), PictureFormat::pcx8);
}

TEST(DetectFormat, EveryFormatHasACodec) {
  for (int f = 1; f <= 8; ++f) {
    const Codec* codec = codec_for(static_cast<PictureFormat>(f));
    ASSERT_NE(codec, nullptr) << f;
    EXPECT_EQ(codec->format, static_cast<PictureFormat>(f));
  }
  EXPECT_EQ(codec_for(PictureFormat::none), nullptr);
}

}  // namespace
}  // namespace lyr::picture
