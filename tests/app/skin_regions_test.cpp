// The program's skin region table and the one the art generator paints by
// (tools/assets/regions.py) are the same table, and it holds the profile's tiles and pointers at
// the sizes the profile places them by.
#include "app/skin_regions.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "profile/action_tiles.h"
#include "profile/wheel_controls.h"

namespace {

TEST(SkinRegionTable, IsTheArtGeneratorsTable) {
  const std::string command = "python3 -B -c \"import sys; sys.path.insert(0, '" CORSARO_SOURCE_DIR
                              "/tools/assets'); from regions import REGIONS; print(len(REGIONS)); "
                              "[print(*region) for region in REGIONS]\"";
  std::FILE* generator = popen(command.c_str(), "r");
  ASSERT_NE(generator, nullptr);
  int count = 0;
  ASSERT_EQ(std::fscanf(generator, "%d", &count), 1) << "python3 could not read regions.py";
  EXPECT_EQ(count, 112);
  EXPECT_EQ(count, kSkinRegionCount);
  for (int i = 0; i < count && i < kSkinRegionCount; ++i) {
    SkinRegion region{};
    ASSERT_EQ(std::fscanf(generator, "%d %d %d %d", &region.x, &region.y, &region.w, &region.h), 4)
        << "region " << i;
    const SkinRegion& table = kSkinRegions[i];
    EXPECT_EQ(table.x, region.x) << "region " << i;
    EXPECT_EQ(table.y, region.y) << "region " << i;
    EXPECT_EQ(table.w, region.w) << "region " << i;
    EXPECT_EQ(table.h, region.h) << "region " << i;
  }
  EXPECT_EQ(pclose(generator), 0);
}

}  // namespace

namespace {

// The profile's tiles are sized without the skin; the skin's regions must agree with them, or
// labels would be hit-tested where they are not drawn.
TEST(SkinRegionTable, HoldsTheProfilesTilesAtTheirSizes) {
  for (const ActionTile& tile : kActionTiles) {
    ASSERT_GE(tile.sprite, 0);
    ASSERT_LT(tile.sprite, kSkinRegionCount);
    EXPECT_EQ(kSkinRegions[tile.sprite].w, tile.w) << "region " << tile.sprite;
    EXPECT_EQ(kSkinRegions[tile.sprite].h, tile.h) << "region " << tile.sprite;
  }
  const struct {
    int region, w, h;
  } pointers[] = {
      {kPointerAboveSprite, 26, 20},
      {kPointerRightSprite, 20, 25},
      {kPointerLeftSprite, 20, 26},
      {kPointerBelowSprite, 27, 20},
  };
  for (const auto& pointer : pointers) {
    EXPECT_EQ(kSkinRegions[pointer.region].w, pointer.w) << "region " << pointer.region;
    EXPECT_EQ(kSkinRegions[pointer.region].h, pointer.h) << "region " << pointer.region;
  }
}

}  // namespace
