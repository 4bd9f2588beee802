#include "ui/image.h"

#include <gtest/gtest.h>

#include "test_skin.h"

namespace {
using ImageTest = SkinTest;

TEST_F(ImageTest, TakesItsRegionsSize) {
  UIImage image(kWide40x20);
  EXPECT_EQ(image.w, 40);
  EXPECT_EQ(image.h, 20);
  EXPECT_FLOAT_EQ(image.alpha, 1.0f);
  UIImage none(-1);
  EXPECT_EQ(none.w, 0);
  EXPECT_EQ(none.h, 0);
  UIImage unknown(kTestRegionCount);
  EXPECT_EQ(unknown.w, 0);
}

TEST_F(ImageTest, PlaceFollowsTheAlignmentBits) {
  UIImage centred(kSquare25A, ALIGN_HCENTER | ALIGN_VCENTER);
  centred.Place(100, 50);
  EXPECT_EQ(centred.left, 88);
  EXPECT_EQ(centred.top, 38);

  UIImage corner(kWide40x20, ALIGN_RIGHT | ALIGN_BOTTOM);
  corner.Place(100, 50);
  EXPECT_EQ(corner.left, 60);
  EXPECT_EQ(corner.top, 30);

  // Centring wins over the far edges.
  UIImage both(kOdd7x9, ALIGN_HCENTER | ALIGN_RIGHT | ALIGN_VCENTER | ALIGN_BOTTOM);
  both.Place(10, 10);
  EXPECT_EQ(both.left, 7);
  EXPECT_EQ(both.top, 6);

  UIImage plain(kOdd7x9);
  plain.Place(10, 20);
  EXPECT_EQ(plain.left, 10);
  EXPECT_EQ(plain.top, 20);
  EXPECT_EQ(plain.anchorX, 10);
  EXPECT_EQ(plain.anchorY, 20);
}

TEST_F(ImageTest, ResizeKeepsTheAnchor) {
  UIImage image(kSquare25A, ALIGN_HCENTER | ALIGN_BOTTOM);
  image.Place(100, 50);
  image.Resize(11, 30);
  EXPECT_EQ(image.left, 95);
  EXPECT_EQ(image.top, 20);
  EXPECT_EQ(image.anchorX, 100);
}

TEST_F(ImageTest, DrawUsesAlphaTimesFactor) {
  UIImage image(kTall18x21);
  image.Place(3, 4);
  image.alpha = 0.5f;
  image.Draw(0.5f);
  image.hidden = true;
  image.Draw(1.0f);
  UIImage none(-1);
  none.Draw(1.0f);
  ASSERT_EQ(RecordedDraws().size(), 1u);
  EXPECT_EQ(RecordedDraws()[0], RegionCall(kTall18x21, 3, 4, 18, 21, 63));
}

TEST_F(ImageTest, HitRectangleIncludesTheRowBelowButNotTheColumnRight) {
  UIImage image(kSquare25A);
  image.Place(990, 8);
  EXPECT_TRUE(image.Contains(990, 8));
  EXPECT_TRUE(image.Contains(1014, 33));
  EXPECT_FALSE(image.Contains(1015, 20));
  EXPECT_FALSE(image.Contains(989, 20));
  EXPECT_FALSE(image.Contains(1000, 7));
  EXPECT_FALSE(image.Contains(1000, 34));
}
}  // namespace
