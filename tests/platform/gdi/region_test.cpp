// Regions: combining, classification, shapes and their use as clip regions.
#include <gtest/gtest.h>

#include "gdi_fixture.h"
#include "platform/gdi/region_access.h"

namespace {

class RegionTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (HRGN r : made) DeleteObject(r);
  }
  HRGN rect(int l, int t, int r, int b) {
    made.push_back(CreateRectRgn(l, t, r, b));
    return made.back();
  }
  std::vector<HRGN> made;
};

TEST_F(RegionTest, CombineModesAndResultKinds) {
  HRGN a = rect(0, 0, 10, 10), b = rect(5, 5, 15, 15), d = rect(0, 0, 0, 0);
  EXPECT_EQ(CombineRgn(d, a, b, RGN_AND), SIMPLEREGION);
  RECT box{};
  GetRgnBox(d, &box);
  EXPECT_EQ(box.left, 5);
  EXPECT_EQ(box.bottom, 10);
  EXPECT_EQ(CombineRgn(d, a, b, RGN_OR), COMPLEXREGION);
  EXPECT_TRUE(PtInRegion(d, 14, 14));
  EXPECT_FALSE(PtInRegion(d, 14, 0));
  EXPECT_EQ(CombineRgn(d, a, b, RGN_XOR), COMPLEXREGION);
  EXPECT_FALSE(PtInRegion(d, 7, 7));
  EXPECT_TRUE(PtInRegion(d, 2, 2));
  EXPECT_EQ(CombineRgn(d, a, b, RGN_DIFF), COMPLEXREGION);
  EXPECT_FALSE(PtInRegion(d, 12, 12));
  EXPECT_EQ(CombineRgn(d, a, a, RGN_DIFF), NULLREGION);
  EXPECT_EQ(GetRgnBox(d, &box), NULLREGION);
  EXPECT_EQ(CombineRgn(d, b, nullptr, RGN_COPY), SIMPLEREGION);
  EXPECT_TRUE(EqualRgn(d, b));
}

TEST_F(RegionTest, DestinationMayBeASource) {
  HRGN a = rect(0, 0, 10, 10), b = rect(5, 0, 20, 10);
  EXPECT_EQ(CombineRgn(a, a, b, RGN_OR), SIMPLEREGION);
  RECT box{};
  GetRgnBox(a, &box);
  EXPECT_EQ(box.right, 20);
}

TEST_F(RegionTest, OffsetSetAndRectTests) {
  HRGN a = rect(0, 0, 4, 4);
  EXPECT_EQ(OffsetRgn(a, 10, 20), SIMPLEREGION);
  EXPECT_TRUE(PtInRegion(a, 10, 20));
  EXPECT_FALSE(PtInRegion(a, 14, 20)) << "right edge is outside";
  RECT inside{11, 21, 12, 22}, outside{0, 0, 5, 5};
  EXPECT_TRUE(RectInRegion(a, &inside));
  EXPECT_FALSE(RectInRegion(a, &outside));
  EXPECT_TRUE(SetRectRgn(a, 3, 3, 1, 1));  // swapped corners are normalised
  RECT box{};
  GetRgnBox(a, &box);
  EXPECT_EQ(box.left, 1);
  EXPECT_EQ(box.right, 3);
}

TEST_F(RegionTest, EllipseIsRasterisedToSpans) {
  HRGN e = CreateEllipticRgn(0, 0, 20, 10);
  made.push_back(e);
  RECT box{};
  EXPECT_EQ(GetRgnBox(e, &box), COMPLEXREGION);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.right, 20);
  EXPECT_EQ(box.bottom, 10);
  EXPECT_TRUE(PtInRegion(e, 10, 5));
  EXPECT_TRUE(PtInRegion(e, 0, 5));
  EXPECT_FALSE(PtInRegion(e, 0, 0));
  EXPECT_FALSE(PtInRegion(e, 19, 9));
  HRGN rr = CreateRoundRectRgn(0, 0, 20, 20, 6, 6);
  made.push_back(rr);
  EXPECT_FALSE(PtInRegion(rr, 0, 0));
  EXPECT_TRUE(PtInRegion(rr, 3, 0));
  EXPECT_TRUE(PtInRegion(rr, 10, 10));
  EXPECT_TRUE(PtInRegion(rr, 0, 10));
}

TEST_F(RegionTest, BadHandlesFail) {
  HRGN a = rect(0, 0, 1, 1);
  HRGN bogus = reinterpret_cast<HRGN>(0x42);
  EXPECT_EQ(CombineRgn(a, bogus, a, RGN_OR), ERROR);
  EXPECT_EQ(CombineRgn(a, a, bogus, RGN_OR), ERROR);
  EXPECT_EQ(CombineRgn(a, a, a, 99), ERROR);
  EXPECT_EQ(OffsetRgn(bogus, 1, 1), ERROR);
  EXPECT_FALSE(PtInRegion(bogus, 0, 0));
  EXPECT_EQ(platform::gdi::region_of(bogus), nullptr);
  HBRUSH brush = CreateSolidBrush(0);
  EXPECT_EQ(platform::gdi::region_of(reinterpret_cast<HRGN>(brush)), nullptr) << "wrong kind of object";
  DeleteObject(brush);
}

TEST_F(RegionTest, ClipRegionLimitsDrawing) {
  gdi_test::Surface s(20, 20);
  HRGN a = rect(0, 0, 5, 5), b = rect(10, 10, 15, 15);
  CombineRgn(a, a, b, RGN_OR);
  EXPECT_EQ(SelectClipRgn(s.dc(), a), COMPLEXREGION);
  OffsetRgn(a, 100, 100);  // the DC keeps its own copy
  s.Fill(RGB(0, 0, 0));
  EXPECT_EQ(s.At(2, 2), RGB(0, 0, 0));
  EXPECT_EQ(s.At(12, 12), RGB(0, 0, 0));
  EXPECT_EQ(s.At(7, 7), RGB(255, 255, 255));
  ExcludeClipRect(s.dc(), 0, 0, 3, 3);
  s.Fill(RGB(255, 0, 0));
  EXPECT_EQ(s.At(1, 1), RGB(0, 0, 0));
  EXPECT_EQ(s.At(4, 4), RGB(255, 0, 0));
  EXPECT_EQ(SelectClipRgn(s.dc(), nullptr), SIMPLEREGION);
  s.Fill(RGB(0, 0, 255));
  EXPECT_EQ(s.At(7, 7), RGB(0, 0, 255));
}

TEST_F(RegionTest, FillAndFrameRegion) {
  gdi_test::Surface s(20, 20);
  HRGN a = rect(2, 2, 10, 10);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  ASSERT_TRUE(FrameRgn(s.dc(), a, red, 1, 1));
  EXPECT_EQ(s.At(2, 2), RGB(255, 0, 0));
  EXPECT_EQ(s.At(9, 5), RGB(255, 0, 0));
  EXPECT_EQ(s.At(5, 5), RGB(255, 255, 255));
  ASSERT_TRUE(FillRgn(s.dc(), a, red));
  EXPECT_EQ(s.At(5, 5), RGB(255, 0, 0));
  EXPECT_EQ(s.At(10, 10), RGB(255, 255, 255));
  DeleteObject(red);
}

}  // namespace

namespace {

TEST(RegionDataTest, RectanglesRoundTrip) {
  HRGN a = CreateRectRgn(0, 0, 10, 10), b = CreateRectRgn(20, 0, 30, 5);
  CombineRgn(a, a, b, RGN_OR);
  const DWORD size = GetRegionData(a, 0, nullptr);
  ASSERT_EQ(size, sizeof(RGNDATAHEADER) + 3 * sizeof(RECT)) << "two bands: y 0-5 holds two rectangles";
  std::vector<unsigned char> buf(size);
  auto* data = reinterpret_cast<RGNDATA*>(buf.data());
  EXPECT_EQ(GetRegionData(a, size - 1, data), 0u);
  ASSERT_EQ(GetRegionData(a, size, data), size);
  EXPECT_EQ(data->rdh.nCount, 3u);
  EXPECT_EQ(data->rdh.rcBound.right, 30);
  HRGN c = ExtCreateRegion(nullptr, size, data);
  ASSERT_NE(c, nullptr);
  EXPECT_TRUE(EqualRgn(a, c));
  data->rdh.nCount = 1000;  // claims more rectangles than the buffer holds
  EXPECT_EQ(ExtCreateRegion(nullptr, size, data), nullptr);
  DeleteObject(a);
  DeleteObject(b);
  DeleteObject(c);
}

}  // namespace
