// Damaged and hostile GIF files. The base file is a valid 2x1 picture; each case changes a
// field or the LZW codes. LZW code streams are spelled out code by code and packed here.
#include <gtest/gtest.h>

#include <algorithm>

#include "ui/picture/codecs/codec.h"
#include "ui/picture/codecs/gif_composer.h"
#include "ui/picture/codecs/gif_lzw.h"
#include "ui/picture/codecs/gif_reader.h"

namespace lyr::picture {
namespace {

using B = std::vector<std::uint8_t>;

// Offsets into kTwoByOne.
constexpr std::size_t kScreenWidth = 6, kPacked = 10, kBackground = 11, kDescriptor = 19, kMinCode = 29;

const B kTwoByOne = {
    'G',  'I',  'F',  '8', '9', 'a',  // signature
    2,    0,                          // screen width 2
    1,    0,                          // screen height 1
    0x80,                             // global colour table of 2 entries
    0,                                // background index
    0,                                // aspect ratio
    0,    0,    0,                    // colour 0: black
    255,  255,  255,                  // colour 1: white
    0x2C,                             // image descriptor
    0,    0,    0,    0,              // left, top
    2,    0,    1,    0,              // width 2, height 1
    0,                                // no local table, not interlaced
    2,                                // LZW minimum code size
    2,    0x0C, 0x0A,                 // one sub-block: codes clear(4) 1 0 end(5), 3 bits each
    0,                                // end of sub-blocks
    0x3B,                             // trailer
};

// Packs LZW codes least significant bit first; widths given per code.
B pack_codes(const std::vector<std::pair<std::uint32_t, int>>& codes) {
  B out;
  std::uint64_t acc = 0;
  int count = 0;
  for (auto [code, bits] : codes) {
    acc |= std::uint64_t{code} << count;
    count += bits;
    while (count >= 8) {
      out.push_back(std::uint8_t(acc));
      acc >>= 8;
      count -= 8;
    }
  }
  if (count) out.push_back(std::uint8_t(acc));
  return out;
}

// kTwoByOne with other image data (cut into sub-blocks) and frame size.
B with_image_data(const B& data, int width = 2, int height = 1) {
  B b(kTwoByOne.begin(), kTwoByOne.begin() + kMinCode + 1);
  b[kDescriptor + 5] = std::uint8_t(width), b[kDescriptor + 6] = std::uint8_t(width >> 8);
  b[kDescriptor + 7] = std::uint8_t(height), b[kDescriptor + 8] = std::uint8_t(height >> 8);
  for (std::size_t i = 0; i < data.size(); i += 255) {
    const std::size_t n = std::min<std::size_t>(255, data.size() - i);
    b.push_back(std::uint8_t(n));
    b.insert(b.end(), data.begin() + std::ptrdiff_t(i), data.begin() + std::ptrdiff_t(i + n));
  }
  b.push_back(0);
  b.push_back(0x3B);
  return b;
}

Result<GifAnimation> frames(const B& b) {
  return decode_gif(b, default_limits(), 100);
}

TEST(HostileGif, TheBaseFileIsValid) {
  auto gif = frames(kTwoByOne);
  ASSERT_TRUE(gif.ok()) << gif.error();
  EXPECT_EQ(gif.value().frames[0].indices, (B{1, 0}));
  EXPECT_TRUE(decode_picture(kTwoByOne).ok());
  EXPECT_EQ(with_image_data({0x0C, 0x0A}), kTwoByOne);
}

TEST(HostileGif, MinimumCodeSizeOutOfRangeIsRejectedUpFront) {
  for (std::uint8_t size : {0, 9, 11, 12, 255}) {
    B b = kTwoByOne;
    b[kMinCode] = size;
    EXPECT_FALSE(decode_picture(b).ok()) << int(size);
  }
  std::uint8_t out[4];
  EXPECT_FALSE(decode_gif_lzw(B{0xFF, 0xFF}, 9, out).ok());
}

TEST(HostileGif, CodeAboveTheNextFreeSlotIsAnError) {
  // clear, 1, then 7 while the next free slot is 6.
  EXPECT_FALSE(frames(with_image_data(pack_codes({{4, 3}, {1, 3}, {7, 3}, {5, 3}}))).ok());
  // After a clear only root codes exist: 6 has no previous string.
  EXPECT_FALSE(frames(with_image_data(pack_codes({{4, 3}, {6, 3}, {5, 3}}))).ok());
}

TEST(HostileGif, FirstCodeThatIsNotAClearCodeStillDecodes) {
  auto gif = frames(with_image_data(pack_codes({{1, 3}, {0, 3}, {5, 3}})));
  ASSERT_TRUE(gif.ok()) << gif.error();
  EXPECT_EQ(gif.value().frames[0].indices, (B{1, 0}));
}

TEST(HostileGif, RunLongerThanTheFrameIsCut) {
  // clear, 1, 0, 6 ("1 0"), 6, end: six pixels for a 3x1 frame.
  auto gif = frames(with_image_data(pack_codes({{4, 3}, {1, 3}, {0, 3}, {6, 3}, {6, 3}, {5, 4}}), 3, 1));
  ASSERT_TRUE(gif.ok()) << gif.error();
  EXPECT_EQ(gif.value().frames[0].indices, (B{1, 0, 1}));
}

// clear, 0, then always the next free code (KwKwK): every string is one longer than the last,
// so the chains grow to the full 4096-entry depth, then the full table is used as it is.
std::vector<std::pair<std::uint32_t, int>> deepest_chain_codes(std::uint64_t& pixels) {
  std::vector<std::pair<std::uint32_t, int>> codes = {{4, 3}, {0, 3}};
  pixels = 1;
  std::uint32_t next = 6;
  int bits = 3;
  for (std::uint64_t length = 2; next < 4096; ++length) {
    codes.push_back({next, bits});
    pixels += length;
    ++next;
    if (next == (1u << bits) && bits < 12) ++bits;
  }
  for (int i = 0; i < 3; ++i) codes.push_back({4095, 12});
  pixels += 3 * 4091;
  codes.push_back({5, 12});
  return codes;
}

TEST(HostileGif, FullTableAndDeepestChainsDecodeIteratively) {
  std::uint64_t pixels = 0;
  const B data = pack_codes(deepest_chain_codes(pixels));
  B out(pixels + 10, 7);
  auto written = decode_gif_lzw(data, 2, out);
  ASSERT_TRUE(written.ok()) << written.error();
  EXPECT_EQ(written.value(), pixels);
  EXPECT_TRUE(std::all_of(out.begin(), out.begin() + std::ptrdiff_t(pixels), [](auto v) { return v == 0; }));
}

TEST(HostileGif, FrameRectangleOutsideTheScreenOrEmpty) {
  B outside = kTwoByOne;
  outside[kDescriptor + 1] = 0xFF, outside[kDescriptor + 2] = 0xFF;  // left 65535
  auto r = decode_picture(outside);
  ASSERT_TRUE(r.ok()) << r.error();
  EXPECT_EQ(r.value().width, 2);
  B empty = with_image_data({0x0C, 0x0A}, 0, 1);
  EXPECT_TRUE(decode_picture(empty).ok());
  B zero_screen = kTwoByOne;
  zero_screen[kScreenWidth] = 0;
  EXPECT_FALSE(decode_picture(zero_screen).ok());
}

// Found by the fuzzer: a frame of width 0 far to the right made the still decoder index an
// empty pixel vector.
TEST(HostileGif, FuzzEmptyFrameOutsideTheScreen) {
  const B crash = {
      'G',  'I',  'F',  '8',  '9',  'a', 8, 0, 8, 0,          // 8x8 screen
      0x81, 0,    0,                                          // global table of 4, background 0
      0,    1,    2,    3,    4,    5,   6, 7, 8, 9, 10, 11,  // colours
      0x21, 0xF9, 4,    0x0D, 0,    0,   1, 0,                // graphic control: disposal 3, transparent 1
      0x2C, 0,    8,    0,    0,    0,   0, 8, 0, 0,          // frame at left 2048, width 0, height 8
      2,    3,    0x44, 0x01, 0x05, 0,                        // LZW size 2, data
      0x3B,
  };
  EXPECT_TRUE(decode_picture(crash).ok());
}

// Found by the fuzzer (a timeout): a 2056 x 11520 screen declared by a 150-byte file made
// the composer fill 95 MB pixel by pixel for every frame.
TEST(HostileGif, FuzzLargeScreenFromASmallFileComposesQuickly) {
  const B slow = {
      0x47, 0x49, 0x46, 0x38, 0x39, 0x61,  // GIF89a
      0x08, 0x08, 0x00, 0x2D,              // screen 2056 x 11520
      0x81, 0x00, 0x00,                    // global table of 4, background 0, aspect
      0x00, 0x00, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B,  // colours
      0x21, 0xFF, 0x0B, 0xCE, 0x45, 0x54, 0x53, 0x43, 0x41, 0x50, 0x45, 0x32, 0x2E, 0x30, 0x0B, 0x01,
      0x00, 0x00, 0x00, 0x21, 0xF9, 0x04, 0x0D, 0x00, 0x00, 0x01, 0x00, 0x2C, 0x00, 0x00, 0x00, 0x00,
      0x08, 0x00, 0x0D, 0x00, 0x00, 0x01, 0x00, 0x2C, 0x00, 0x00, 0x00, 0x00, 0x08, 0x10, 0x08, 0x00,
      0x00, 0x02, 0x31, 0x04, 0x43, 0x71, 0x04, 0x43, 0x71, 0x04, 0x43, 0x01, 0x81, 0x00, 0x00, 0x00,
      0x00, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x21, 0xFF, 0x0B, 0xCE, 0x45,
      0x54, 0x53, 0x43, 0x41, 0x50, 0x45, 0x32, 0x2E, 0x30, 0x0B, 0x01, 0x00, 0x00, 0x00, 0x21, 0xF9,
      0x04, 0x0D, 0x40, 0xC5, 0x02, 0x10, 0x0C, 0xC5, 0x11, 0x0C, 0xC5, 0x11, 0x00, 0x00, 0x00, 0x00,
      0x00, 0x00, 0x00, 0x00, 0x0C, 0xC5, 0x11, 0x0C, 0xC5, 0x11, 0x0C, 0x00, 0x3B,
  };
  auto gif = frames(slow);
  ASSERT_TRUE(gif.ok()) << gif.error();
  EXPECT_EQ(gif.value().screen_width, 2056);
  GifComposer composer(gif.value(), 0xFF0000FF);
  for (std::size_t i = 0; i < gif.value().frames.size(); ++i) composer.draw(i);
  const auto& canvas = composer.canvas();
  ASSERT_EQ(canvas.size(), 2056u * 11520 * 4);
  EXPECT_EQ(canvas[canvas.size() - 4], 0xFF);  // the far corner keeps the background
  EXPECT_EQ(canvas[canvas.size() - 2], 0x00);
}

TEST(HostileGif, IndicesBeyondThePaletteAreBlack) {
  B b = kTwoByOne;
  b[kBackground] = 200;
  b[kDescriptor + 5] = 1;  // a 1x1 frame leaves one pixel to the background index
  auto r = decode_picture(b);
  ASSERT_TRUE(r.ok()) << r.error();
  EXPECT_EQ(r.value().pixels[kPackedDibPixelsOffset + 1], 200);
  EXPECT_EQ(r.value().pixels[kDibHeaderSize + 200 * 4], 0);
  // A transparent index of 200 never matches a real pixel.
  B t(kTwoByOne.begin(), kTwoByOne.begin() + kDescriptor);
  t.insert(t.end(), {0x21, 0xF9, 4, 1, 0, 0, 200, 0});
  t.insert(t.end(), kTwoByOne.begin() + kDescriptor, kTwoByOne.end());
  auto gif = frames(t);
  ASSERT_TRUE(gif.ok()) << gif.error();
  GifComposer composer(gif.value(), 0xFF123456);
  composer.draw(0);
  EXPECT_EQ(composer.canvas()[0], 255);
}

TEST(HostileGif, NoColourTableAtAll) {
  B b(kTwoByOne.begin(), kTwoByOne.begin() + 13);
  b[kPacked] = 0;
  b.insert(b.end(), kTwoByOne.begin() + kDescriptor, kTwoByOne.end());
  EXPECT_FALSE(decode_picture(b).ok());
}

TEST(HostileGif, HugeScreenFromATinyFileIsRejectedQuickly) {
  B b = kTwoByOne;
  b[6] = b[7] = b[8] = b[9] = 0xFF;  // 65535 x 65535
  EXPECT_FALSE(decode_picture(b).ok());
  EXPECT_FALSE(frames(b).ok());
}

TEST(HostileGif, TruncatedSubBlocksAndMissingTrailer) {
  B cut = kTwoByOne;
  cut[kMinCode + 1] = 9;  // a sub-block of 9 bytes where 2 follow
  EXPECT_FALSE(decode_picture(cut).ok());
  for (std::size_t n = 14; n < kTwoByOne.size() - 2; ++n)
    EXPECT_FALSE(decode_picture(B(kTwoByOne.begin(), kTwoByOne.begin() + std::ptrdiff_t(n))).ok()) << n;
  // Without the trailer the frames read so far stand.
  EXPECT_TRUE(decode_picture(B(kTwoByOne.begin(), kTwoByOne.end() - 1)).ok());
  // A damaged second frame keeps the first and says the animation is incomplete.
  B two(kTwoByOne.begin(), kTwoByOne.end() - 1);
  two.insert(two.end(), kTwoByOne.begin() + kDescriptor, kTwoByOne.begin() + kMinCode + 2);
  auto gif = frames(two);
  ASSERT_TRUE(gif.ok());
  EXPECT_EQ(gif.value().frames.size(), 1u);
  EXPECT_FALSE(gif.value().complete);
}

TEST(HostileGif, ExtensionsOfTheWrongSizeOrKind) {
  auto with_extension = [](B ext) {
    B b = kTwoByOne;
    b.insert(b.begin() + kDescriptor, ext.begin(), ext.end());
    return b;
  };
  // Graphic control of 3 bytes: ignored.
  auto gif = frames(with_extension({0x21, 0xF9, 3, 1, 0, 0, 0}));
  ASSERT_TRUE(gif.ok()) << gif.error();
  EXPECT_FALSE(gif.value().frames[0].transparent_index.has_value());
  // Graphic control whose length runs past the end.
  EXPECT_FALSE(frames(with_extension({0x21, 0xF9, 200, 1})).ok());
  // Unknown extension label and unknown block.
  EXPECT_FALSE(frames(with_extension({0x21, 0x99, 0})).ok());
  EXPECT_FALSE(frames(with_extension({0x42})).ok());
  // Comment and plain text are skipped.
  EXPECT_TRUE(frames(with_extension({0x21, 0xFE, 2, 'h', 'i', 0})).ok());
  EXPECT_TRUE(frames(with_extension({0x21, 0x01, 12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 'x', 0})).ok());
}

TEST(HostileGif, StateIsResetBetweenDecodesAndFrames) {
  // The same bytes decode the same way twice: nothing survives a decode.
  const B data = pack_codes({{4, 3}, {1, 3}, {0, 3}, {6, 3}, {5, 3}});
  B a(4), b(4);
  ASSERT_TRUE(decode_gif_lzw(data, 2, a).ok());
  ASSERT_TRUE(decode_gif_lzw(data, 2, b).ok());
  EXPECT_EQ(a, b);
  EXPECT_EQ(a, (B{1, 0, 1, 0}));
}

}  // namespace
}  // namespace lyr::picture
