// The fonts and the skin sheet built from the carried files, and their tear-down.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "app/carried_art.h"
#include "app/skin_regions.h"
#include "app_assets.h"
#include "engine/engine.h"
#include "engine/offscreen_render.h"
#include "engine/sprite.h"

namespace {

// Char lines in a carried description.
int CharLines(std::string_view name) {
  const auto bytes = app_assets::Get(name);
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  int count = 0;
  for (std::size_t at = text.find("Char"); at != std::string_view::npos;
       at = text.find("Char", at + 4)) {
    count += at == 0 || text[at - 1] == '\n' || text[at - 1] == '\r';
  }
  return count;
}

int GlyphCount(const BitmapFont& font) {
  int count = 0;
  for (int code = 0; code < 256; ++code) count += font.Glyph(code) != nullptr;
  return count;
}

TEST(CarriedArtTable, RegionTableHoldsTheFrameSources) {
  EXPECT_EQ(kSkinRegions[kRegionFrameLarge].w, 60);
  EXPECT_EQ(kSkinRegions[kRegionFrameSmall].w, 30);
  EXPECT_EQ(kSkinRegions[kRegionFrameSmallAlt].x, 915);
  EXPECT_EQ(kSkinRegions[111].x, 946);
  for (const SkinRegion& r : kSkinRegions) {
    EXPECT_GT(r.w, 0);
    EXPECT_LE(r.x + r.w, 2048);
    EXPECT_LE(r.y + r.h, 1024);
  }
}

class CarriedArtTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    engine_ = Engine_Create(ENGINE_VERSION);
    if (engine_ == nullptr) GTEST_SKIP() << "Engine_Create gives no engine yet";
    engine_->System_SetState(STATE_SCREEN_WIDTH, 1024);
    engine_->System_SetState(STATE_SCREEN_HEIGHT, 600);
    engine_->System_SetState(STATE_WINDOWED, true);
    engine_->System_SetState(STATE_SPLASH, false);
    engine_->System_SetState(STATE_SOUND, false);
    ASSERT_TRUE(engine_->System_Initiate(false)) << engine_->System_LastError();
  }
  void TearDown() override {
    ReleaseCarriedArt();
    if (engine_ == nullptr) return;
    engine_->System_Shutdown();
    engine_->Release();
  }
  Engine* engine_ = nullptr;
};

TEST_F(CarriedArtTest, BuildsBothFontsAndTheSheetWithItsFrames) {
  ASSERT_TRUE(CreateCarriedArt());
  ASSERT_NE(SmallFont, nullptr);
  ASSERT_NE(LargeFont, nullptr);
  ASSERT_NE(Skin, nullptr);
  EXPECT_NE(SmallFont->Texture(), nullptr);
  EXPECT_EQ(GlyphCount(*SmallFont), CharLines("fonts/myriad_16s.txt"));
  EXPECT_EQ(GlyphCount(*LargeFont), CharLines("fonts/myriad_20s.txt"));
  if (CharLines("fonts/myriad_16s.txt") > 0) {
    EXPECT_FLOAT_EQ(SmallFont->Height(), 22);
    EXPECT_FLOAT_EQ(LargeFont->Height(), 27);
  }

  EXPECT_NE(Skin->texture, nullptr);
  EXPECT_EQ(engine_->Texture_Width(Skin->texture, true), 2048);
  EXPECT_EQ(Skin->regionCount, kSkinRegionCount);
  EXPECT_EQ(Skin->frameCount, kSkinFrameCount);
  EXPECT_EQ(Skin->cellSizes[kFrameLarge], 20);
  EXPECT_EQ(Skin->cellSizes[kFrameSmall], 10);
  EXPECT_EQ(Skin->cellSizes[kFrameSmallAlt], 10);
  // The centre piece of frame 0 lies one cell in from region 18's corner.
  const Sprite* centre = Skin->frames[kFrameLarge * 9 + 4];
  ASSERT_NE(centre, nullptr);
  EXPECT_FLOAT_EQ(centre->left, 1284 + 20);
  EXPECT_FLOAT_EQ(centre->top, 123 + 20);
  EXPECT_FLOAT_EQ(Skin->frames[kFrameSmallAlt * 9 + 8]->left, 915 + 20);
}

TEST_F(CarriedArtTest, ReleaseEmptiesTheGlobalsAndMayRepeat) {
  ASSERT_TRUE(CreateCarriedArt());
  ReleaseCarriedArt();
  EXPECT_EQ(SmallFont, nullptr);
  EXPECT_EQ(LargeFont, nullptr);
  EXPECT_EQ(Skin, nullptr);
  ReleaseCarriedArt();
  ASSERT_TRUE(CreateCarriedArt()) << "built again after a release";
}

}  // namespace
