// Sprite: texture coordinates from its region, the corners of each way of drawing, texel-exact
// blits.
#include <cmath>

#include "engine/sprite.h"
#include "tests/engine/graphics_engine_fixture.h"

namespace {

std::uint32_t Pattern(int x, int y) {
  return 0xFF000000u | (static_cast<std::uint32_t>(x * 7 & 0xFF) << 16) |
         (static_cast<std::uint32_t>(y * 11 & 0xFF) << 8) | 0x40u;
}

class SpriteTest : public EngineDrawTest {
 protected:
  void SetUp() override {
    EngineDrawTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    png_ = MakePng(256, 128, Pattern);
    texture_ = engine_->Texture_Load(png_.data(), static_cast<std::uint32_t>(png_.size()));
    ASSERT_NE(texture_, nullptr);
  }
  void TearDown() override {
    if (engine_ != nullptr) engine_->Texture_Free(texture_);
    EngineDrawTest::TearDown();
  }

  std::vector<unsigned char> png_;
  TextureHandle texture_ = nullptr;
};

TEST_F(SpriteTest, TextureCoordinatesAreFractionsOfTheSurface) {
  Sprite sprite(texture_, 10, 20, 30, 40);
  EXPECT_FLOAT_EQ(sprite.quad.v[0].u, 10.0f / 256);
  EXPECT_FLOAT_EQ(sprite.quad.v[0].v, 20.0f / 128);
  EXPECT_FLOAT_EQ(sprite.quad.v[1].u, 40.0f / 256);
  EXPECT_FLOAT_EQ(sprite.quad.v[1].v, 20.0f / 128);
  EXPECT_FLOAT_EQ(sprite.quad.v[2].u, 40.0f / 256);
  EXPECT_FLOAT_EQ(sprite.quad.v[2].v, 60.0f / 128);
  EXPECT_FLOAT_EQ(sprite.quad.v[3].u, 10.0f / 256);
  EXPECT_FLOAT_EQ(sprite.quad.v[3].v, 60.0f / 128);
  EXPECT_EQ(sprite.quad.texture, texture_);
  EXPECT_EQ(sprite.quad.blend, BLEND_DEFAULT);
  for (const Vertex& v : sprite.quad.v) {
    EXPECT_EQ(v.colour, 0xFFFFFFFFu);
    EXPECT_FLOAT_EQ(v.z, 0.5f);
  }

  Sprite plain(nullptr, 2, 3, 4, 5);
  EXPECT_FLOAT_EQ(plain.textureWidth, 1);
  EXPECT_FLOAT_EQ(plain.quad.v[2].u, 6);
  EXPECT_FLOAT_EQ(plain.quad.v[2].v, 8);
}

TEST_F(SpriteTest, DrawPlacesTheHotSpotAndDrawExScalesAndRotatesAboutIt) {
  Sprite sprite(texture_, 0, 0, 20, 10);
  sprite.hotX = 5;
  sprite.hotY = 2;
  BeginCleared();
  sprite.Sprite_Draw(50, 40);
  EXPECT_FLOAT_EQ(sprite.quad.v[0].x, 45);
  EXPECT_FLOAT_EQ(sprite.quad.v[0].y, 38);
  EXPECT_FLOAT_EQ(sprite.quad.v[2].x, 65);
  EXPECT_FLOAT_EQ(sprite.quad.v[2].y, 48);

  sprite.Sprite_DrawEx(50, 40, 0, 2);  // vertical scale 0 follows the horizontal one
  EXPECT_FLOAT_EQ(sprite.quad.v[0].x, 40);
  EXPECT_FLOAT_EQ(sprite.quad.v[0].y, 36);
  EXPECT_FLOAT_EQ(sprite.quad.v[2].x, 80);
  EXPECT_FLOAT_EQ(sprite.quad.v[2].y, 56);

  const float quarter = 1.5707964f;
  sprite.Sprite_DrawEx(50, 40, quarter, 1, 1);
  // (tx, ty) = (15, 8) turns to (-8, 15) about the hot spot.
  EXPECT_NEAR(sprite.quad.v[2].x, 42, 1e-4);
  EXPECT_NEAR(sprite.quad.v[2].y, 55, 1e-4);

  sprite.Sprite_DrawStretch(1, 2, 3, 4);
  EXPECT_FLOAT_EQ(sprite.quad.v[1].x, 3);
  EXPECT_FLOAT_EQ(sprite.quad.v[1].y, 2);
  EXPECT_FLOAT_EQ(sprite.quad.v[3].x, 1);
  EXPECT_FLOAT_EQ(sprite.quad.v[3].y, 4);
  engine_->Gfx_EndScene();
}

TEST_F(SpriteTest, SetColorTakesOneCornerOrAll) {
  Sprite sprite(texture_, 0, 0, 4, 4);
  sprite.Sprite_SetColor(0x11223344u, 2);
  EXPECT_EQ(sprite.quad.v[2].colour, 0x11223344u);
  EXPECT_EQ(sprite.quad.v[1].colour, 0xFFFFFFFFu);
  sprite.Sprite_SetColor(0x80FFFFFFu);
  for (const Vertex& v : sprite.quad.v) EXPECT_EQ(v.colour, 0x80FFFFFFu);
  sprite.Sprite_SetColor(0, 4);  // no such corner
  EXPECT_EQ(sprite.quad.v[3].colour, 0x80FFFFFFu);
}

TEST_F(SpriteTest, BlitAtIntegerCoordinatesReproducesTheTexels) {
  Sprite sprite(texture_, 100, 30, 24, 16);
  gfx().SetTextureFilter(true);  // bilinear sampling still lands on texel centres
  BeginCleared();
  sprite.Sprite_Draw(33, 17);
  engine_->Gfx_EndScene();
  std::vector<std::uint32_t> shot(26 * 18);
  ASSERT_TRUE(gfx().ReadPixels(nullptr, 32, 16, 26, 18, shot.data()));
  for (int y = 0; y < 18; ++y) {
    for (int x = 0; x < 26; ++x) {
      const bool inside = x >= 1 && x <= 24 && y >= 1 && y <= 16;
      const std::uint32_t expected = inside ? Pattern(100 + x - 1, 30 + y - 1) : kBackground;
      ASSERT_EQ(shot[y * 26 + x], expected) << "pixel " << x << "," << y;
    }
  }
}

}  // namespace
