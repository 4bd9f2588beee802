// The fonts and the skin sheet built from the carried files, and their tear-down.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "app/carried_art.h"
#include "app/skin_regions.h"
#include "app_assets.h"
#include "engine/engine.h"
#include "engine/offscreen_render.h"
#include "engine/png_codec.h"
#include "engine/sprite.h"
#include "tests/support/offscreen_engine.h"

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
    engine_ = StartOffscreenEngine(1024, 600);
    ASSERT_NE(engine_, nullptr);
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

// A frame of carried art, saved where people can look at it: background strip, the logo, a
// frame and both fonts.
void PreviewFrame(Engine* engine, void*) {
  if (!engine->Gfx_BeginScene(nullptr)) return;
  engine->Gfx_Clear(0xFF000000u);
  Skin->Bind();
  DrawRegion(kRegionBackgroundStrip, 0, 0, 255);
  DrawRegion(kRegionProductLogo, 300, 20, 255);
  DrawFrame(kFrameLarge, 300, 100, 400, 200, 255);
  SmallFont->Render(320, 120, TEXT_LEFT, "Small font: Corsaro 270 Setup 0123456789");
  LargeFont->PrintBoxText(320, 160, 360, 120, TEXT_CENTER | TEXT_MIDDLE,
                          "Large font, wrapped and centred in its box: 100% plain text");
  engine->Gfx_EndScene();
}

// The preview starts an engine of its own, and the only one of its process: an engine stopped
// and started again unloads and reloads the GL driver, whose stale thread-local blocks
// LeakSanitizer's exit scan can trip over.
TEST(CarriedArtPreview, ShowsTheAtlasTexelForTexel) {
  const std::string path = ::testing::TempDir() + "carried_art_preview.png";
  ASSERT_TRUE(RenderOffscreenPng(
      1024, 600,
      [](Engine* engine, void*) {
        CreateCarriedArt();
        PreviewFrame(engine, nullptr);
        ReleaseCarriedArt();
      },
      nullptr, path.c_str()));
  std::printf("preview: %s\n", path.c_str());

  std::FILE* file = std::fopen(path.c_str(), "rb");
  ASSERT_NE(file, nullptr);
  std::vector<unsigned char> bytes(4 << 20);
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
  std::fclose(file);
  ImageArgb shot, atlas;
  ASSERT_TRUE(DecodePng(bytes.data(), bytes.size(), &shot));
  const auto png = app_assets::Get("skin/skin.png");
  ASSERT_TRUE(DecodePng(png.data(), png.size(), &atlas));
  // Opaque texels of the background strip come out unchanged.
  const SkinRegion& strip = kSkinRegions[kRegionBackgroundStrip];
  int compared = 0;
  for (int y = 0; y < strip.h; y += 37) {
    for (int x = 0; x < strip.w; x += 23) {
      const std::uint32_t texel = atlas.pixels[(strip.y + y) * 2048 + strip.x + x];
      if ((texel >> 24) != 0xFF) continue;
      ASSERT_EQ(shot.pixels[y * 1024 + x], texel) << x << "," << y;
      ++compared;
    }
  }
  EXPECT_GT(compared, 0);
}

}  // namespace
