// Image lists: adding bitmaps and icons, drawing, the stream format and bad input.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/api.h"
#include "platform/api/dib_info.h"
#include "platform/api/listview.h"

namespace {

// A top-down 32-bit DIB section with its pixels (0xAARRGGBB) reachable.
struct Dib {
  HBITMAP bitmap = nullptr;
  std::uint32_t* px = nullptr;
  int w = 0;
  int h = 0;
  Dib(int width, int height) : w(width), h(height) {
    BITMAPINFO info = platform::top_down_dib_info(width, height);
    void* bits = nullptr;
    bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    px = static_cast<std::uint32_t*>(bits);
  }
  ~Dib() { DeleteObject(bitmap); }
  Dib(const Dib&) = delete;
  Dib& operator=(const Dib&) = delete;
  std::uint32_t& at(int x, int y) { return px[y * w + x]; }
  void fill(int x0, int x1, std::uint32_t v) {
    for (int y = 0; y < h; ++y)
      for (int x = x0; x < x1; ++x) at(x, y) = v;
  }
};

// Draws image `i` onto a white 16x16 surface and returns that surface's pixel at (x, y), RGB.
std::uint32_t drawn(HIMAGELIST il, int i, UINT style, int x, int y) {
  Dib target(16, 16);
  target.fill(0, 16, 0xFFFFFFFF);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, target.bitmap);
  ImageList_Draw(il, i, dc, 0, 0, style);
  GdiFlush();
  SelectObject(dc, old);
  DeleteDC(dc);
  return target.at(x, y) & 0x00FFFFFF;
}

std::vector<std::uint8_t> stream_of(HIMAGELIST il) {
  std::vector<std::uint8_t> out(ImageList_WriteToMemory(il, nullptr, 0));
  if (!out.empty()) ImageList_WriteToMemory(il, out.data(), out.size());
  return out;
}

class ImageListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    il_ = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 4);
    ASSERT_NE(il_, nullptr);
  }
  void TearDown() override { ImageList_Destroy(il_); }

  // Two images: opaque red, and blue with a transparent left half.
  void add_two() {
    Dib strip(32, 16);
    strip.fill(0, 16, 0xFFFF0000);
    strip.fill(16, 24, 0x00000000);
    strip.fill(24, 32, 0xFF0000FF);
    ASSERT_EQ(ImageList_Add(il_, strip.bitmap, nullptr), 0);
  }

  HIMAGELIST il_ = nullptr;
};

TEST_F(ImageListTest, AddSplitsAStripAndDrawsItsImages) {
  add_two();
  EXPECT_EQ(ImageList_GetImageCount(il_), 2);
  int cx = 0;
  int cy = 0;
  ASSERT_TRUE(ImageList_GetIconSize(il_, &cx, &cy));
  EXPECT_EQ(cx, 16);
  EXPECT_EQ(cy, 16);
  EXPECT_EQ(drawn(il_, 0, ILD_NORMAL, 5, 5), 0xFF0000u);
  EXPECT_EQ(drawn(il_, 1, ILD_TRANSPARENT, 2, 5), 0xFFFFFFu);  // transparent half shows the white below
  EXPECT_EQ(drawn(il_, 1, ILD_TRANSPARENT, 12, 5), 0x0000FFu);
  // Selected images are blended toward the highlight colour.
  const std::uint32_t blended = drawn(il_, 0, ILD_SELECTED, 5, 5);
  EXPECT_NE(blended, 0xFF0000u);
  EXPECT_FALSE(ImageList_Draw(il_, 2, nullptr, 0, 0, ILD_NORMAL));
}

TEST_F(ImageListTest, BackgroundColourFillsTransparentPixelsUnlessDrawnTransparent) {
  add_two();
  EXPECT_EQ(ImageList_SetBkColor(il_, RGB(0, 255, 0)), CLR_NONE);
  EXPECT_EQ(ImageList_GetBkColor(il_), RGB(0, 255, 0));
  EXPECT_EQ(drawn(il_, 1, ILD_NORMAL, 2, 5), 0x00FF00u);
  EXPECT_EQ(drawn(il_, 1, ILD_TRANSPARENT, 2, 5), 0xFFFFFFu);
}

TEST_F(ImageListTest, MaskedColourBecomesTransparent) {
  Dib strip(16, 16);
  strip.fill(0, 8, 0x00FF00FF);  // magenta, no alpha
  strip.fill(8, 16, 0x00102030);
  HIMAGELIST plain = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 1);
  ASSERT_EQ(ImageList_AddMasked(plain, strip.bitmap, RGB(255, 0, 255)), 0);
  EXPECT_EQ(drawn(plain, 0, ILD_TRANSPARENT, 2, 2), 0xFFFFFFu);
  EXPECT_EQ(drawn(plain, 0, ILD_TRANSPARENT, 12, 2), 0x102030u);
  ImageList_Destroy(plain);
}

TEST_F(ImageListTest, IconsAreAddedAndReplaced) {
  Dib colour(32, 32);
  colour.fill(0, 32, 0xFF00FF00);
  Dib mask(32, 32);
  mask.fill(0, 32, 0xFF000000);
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmColor = colour.bitmap;
  info.hbmMask = mask.bitmap;
  HICON icon = CreateIconIndirect(&info);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(ImageList_AddIcon(il_, icon), 0);
  EXPECT_EQ(ImageList_GetImageCount(il_), 1);
  EXPECT_EQ(drawn(il_, 0, ILD_NORMAL, 8, 8), 0x00FF00u);  // scaled from 32 to 16
  EXPECT_EQ(ImageList_ReplaceIcon(il_, 0, icon), 0);
  EXPECT_EQ(ImageList_ReplaceIcon(il_, 3, icon), -1);
  EXPECT_EQ(ImageList_GetImageCount(il_), 1);
  DestroyIcon(icon);
}

TEST_F(ImageListTest, StreamRoundTripKeepsEverything) {
  add_two();
  ImageList_SetBkColor(il_, RGB(1, 2, 3));
  const auto bytes = stream_of(il_);
  ASSERT_EQ(bytes.size(), 32u + 2u * 16u * 16u * 4u);
  EXPECT_EQ(std::memcmp(bytes.data(), "LYIL", 4), 0);
  EXPECT_EQ(bytes[8], 16);   // cx
  EXPECT_EQ(bytes[12], 16);  // cy
  EXPECT_EQ(bytes[20], 2);   // count
  // First pixel of image 0: opaque red as B, G, R, A.
  EXPECT_EQ(bytes[32], 0x00);
  EXPECT_EQ(bytes[34], 0xFF);
  EXPECT_EQ(bytes[35], 0xFF);

  std::vector<std::uint8_t> with_tail = bytes;
  with_tail.push_back(0xAB);
  SIZE_T consumed = 0;
  HIMAGELIST copy = ImageList_ReadFromMemory(with_tail.data(), with_tail.size(), &consumed);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(consumed, bytes.size());
  EXPECT_EQ(ImageList_GetImageCount(copy), 2);
  EXPECT_EQ(ImageList_GetBkColor(copy), RGB(1, 2, 3));
  EXPECT_EQ(stream_of(copy), bytes);
  EXPECT_EQ(drawn(copy, 1, ILD_TRANSPARENT, 12, 5), 0x0000FFu);
  ImageList_Destroy(copy);
}

TEST_F(ImageListTest, BadStreamsCreateNothing) {
  add_two();
  const auto good = stream_of(il_);
  SIZE_T consumed = 99;
  auto read = [&](std::vector<std::uint8_t> b) {
    return ImageList_ReadFromMemory(b.data(), b.size(), &consumed);
  };
  auto bad = good;
  bad[0] = 'X';
  EXPECT_EQ(read(bad), nullptr);
  EXPECT_EQ(consumed, 0u);
  bad = good;
  bad[4] = 2;  // version
  EXPECT_EQ(read(bad), nullptr);
  bad = good;
  bad.resize(bad.size() - 1);  // one byte short of the pixels
  EXPECT_EQ(read(bad), nullptr);
  bad = good;
  bad[20] = 0xFF;
  bad[21] = 0xFF;
  bad[22] = 0xFF;
  bad[23] = 0x7F;  // a count far beyond the data
  EXPECT_EQ(read(bad), nullptr);
  bad = good;
  bad[8] = 0;  // zero width
  EXPECT_EQ(read(bad), nullptr);
  EXPECT_EQ(read(std::vector<std::uint8_t>(8, 0)), nullptr);
  EXPECT_EQ(ImageList_ReadFromMemory(nullptr, 100, &consumed), nullptr);
  // A too-small buffer gets nothing but learns the size.
  std::vector<std::uint8_t> small(10, 0xEE);
  EXPECT_EQ(ImageList_WriteToMemory(il_, small.data(), small.size()), good.size());
  EXPECT_EQ(small[0], 0xEE);
}

TEST_F(ImageListTest, DeadHandlesAreRefused) {
  HIMAGELIST gone = ImageList_Create(8, 8, ILC_COLOR32, 1, 1);
  ASSERT_TRUE(ImageList_Destroy(gone));
  EXPECT_FALSE(ImageList_Destroy(gone));
  EXPECT_EQ(ImageList_GetImageCount(gone), 0);
  EXPECT_EQ(ImageList_WriteToMemory(gone, nullptr, 0), 0u);
  int cx = 0;
  int cy = 0;
  EXPECT_FALSE(ImageList_GetIconSize(gone, &cx, &cy));
  EXPECT_EQ(ImageList_Create(0, 16, ILC_COLOR32, 1, 1), nullptr);
  EXPECT_EQ(ImageList_Create(16, 5000, ILC_COLOR32, 1, 1), nullptr);
  EXPECT_EQ(ImageList_Add(il_, nullptr, nullptr), -1);
  // Sizes that would take terabytes are refused, not attempted.
  HIMAGELIST huge = ImageList_Create(4096, 4096, ILC_COLOR32, 1, 1);
  ASSERT_NE(huge, nullptr);
  EXPECT_FALSE(ImageList_SetImageCount(huge, 65535));
  EXPECT_EQ(ImageList_GetImageCount(huge), 0);
  EXPECT_TRUE(ImageList_SetImageCount(huge, 2));
  EXPECT_EQ(ImageList_GetImageCount(huge), 2);
  ImageList_Destroy(huge);
  EXPECT_TRUE(ImageList_Remove(il_, -1));
  EXPECT_FALSE(ImageList_Remove(il_, 0));
}

}  // namespace
