#include "ui/picture/display_geometry.h"

#include <gtest/gtest.h>

namespace lyr::picture {
namespace {

using R = PixelRect;

TEST(PictureBoxPlacement, LargePictureInModeTwoIsScaledDownAndCentred) {
  // 300 x 200 in the 180 x 180 box: 180 x 120 at vertical offset 30.
  EXPECT_EQ(picture_box_placement(2, 180, 180, 300, 200), (std::vector<R>{{0, 30, 180, 120}}));
  // Taller than wide: limited by the height.
  EXPECT_EQ(picture_box_placement(2, 180, 180, 100, 360), (std::vector<R>{{65, 0, 50, 180}}));
  // Wider only: scaled although the height fits.
  EXPECT_EQ(picture_box_placement(2, 100, 100, 200, 50), (std::vector<R>{{0, 37, 100, 25}}));
}

TEST(PictureBoxPlacement, SmallPicturesAreNeverEnlargedInModeTwo) {
  EXPECT_EQ(picture_box_placement(2, 180, 180, 60, 40), (std::vector<R>{{60, 70, 60, 40}}));
  EXPECT_EQ(picture_box_placement(2, 180, 180, 180, 180), (std::vector<R>{{0, 0, 180, 180}}));
}

TEST(PictureBoxPlacement, NaturalSizeIsClippedByTheBox) {
  const auto placed = picture_box_placement(0, 180, 180, 300, 200);
  EXPECT_EQ(placed, (std::vector<R>{{0, 0, 300, 200}}));
  EXPECT_EQ(clip_to_client(placed[0], 180, 180), (R{0, 0, 180, 180}));
  EXPECT_EQ(picture_box_placement(3, 300, 200, 300, 200), (std::vector<R>{{0, 0, 300, 200}}));
}

TEST(PictureBoxPlacement, StretchedFillsTheClientArea) {
  EXPECT_EQ(picture_box_placement(1, 180, 90, 300, 200), (std::vector<R>{{0, 0, 180, 90}}));
  EXPECT_EQ(picture_box_placement(1, 180, 90, 2, 2), (std::vector<R>{{0, 0, 180, 90}}));
}

TEST(PictureBoxPlacement, NothingToPlaceForEmptyAreasOrUnknownModesAsNatural) {
  EXPECT_TRUE(picture_box_placement(2, 0, 180, 300, 200).empty());
  EXPECT_TRUE(picture_box_placement(2, 180, 180, 0, 200).empty());
  EXPECT_TRUE(picture_box_placement(1, 180, -5, 300, 200).empty());
  EXPECT_EQ(picture_box_placement(99, 180, 180, 10, 10), (std::vector<R>{{0, 0, 10, 10}}));
}

TEST(PictureBoxPlacement, ExtremeRatiosKeepAtLeastOnePixel) {
  EXPECT_EQ(picture_box_placement(2, 100, 100, 30000, 1), (std::vector<R>{{0, 49, 100, 1}}));
}

TEST(BackgroundPlacement, TilesCoverTheClientAreaFromTheTopLeft) {
  const auto tiles = background_placement(1, 250, 120, 100, 50);
  ASSERT_EQ(tiles.size(), 9u);
  EXPECT_EQ(tiles.front(), (R{0, 0, 100, 50}));
  EXPECT_EQ(tiles[2], (R{200, 0, 100, 50}));
  EXPECT_EQ(tiles.back(), (R{200, 100, 100, 50}));
}

TEST(BackgroundPlacement, NaturalAndCentredFit) {
  EXPECT_EQ(background_placement(0, 250, 120, 400, 50), (std::vector<R>{{0, 0, 400, 50}}));
  EXPECT_EQ(background_placement(2, 250, 120, 500, 60), (std::vector<R>{{0, 45, 250, 30}}));
  EXPECT_EQ(background_placement(2, 250, 120, 50, 60), (std::vector<R>{{100, 30, 50, 60}}));
}

TEST(ClipToClient, PartsOutsideAreCut) {
  EXPECT_EQ(clip_to_client(R{-10, -10, 30, 30}, 15, 100), (R{0, 0, 15, 20}));
  EXPECT_EQ(clip_to_client(R{200, 0, 30, 30}, 100, 100).width, 0);
}

}  // namespace
}  // namespace lyr::picture
