// The splash: its fade timing, and a picture of it at full opacity taken off screen.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/engine_impl.h"
#include "engine/offscreen_render.h"
#include "engine/png_codec.h"
#include "engine/splash.h"
#include "engine_assets.h"
#include "tests/engine/graphics_fixture.h"

namespace {

TEST(SplashTiming, FadesInHoldsAndFadesOut) {
  EXPECT_EQ(SplashAlpha(0), 0);
  EXPECT_EQ(SplashAlpha(0.125f), 127);
  EXPECT_EQ(SplashAlpha(0.2499f), 254);
  EXPECT_EQ(SplashAlpha(0.25f), 255);
  EXPECT_EQ(SplashAlpha(0.999f), 255);
  EXPECT_EQ(SplashAlpha(1.0f), 255);
  EXPECT_EQ(SplashAlpha(1.125f), 127);
  EXPECT_EQ(SplashAlpha(1.2499f), 0);
  EXPECT_EQ(SplashAlpha(1.25f), -1);
  EXPECT_EQ(SplashAlpha(7), -1);
}

TEST(SplashTiming, QuadIsCentredOnIntegerHalves) {
  const Quad quad = MakeSplashQuad(1023, 600, nullptr);
  EXPECT_FLOAT_EQ(quad.v[0].x, 511 - 128);
  EXPECT_FLOAT_EQ(quad.v[0].y, 300 - 128);
  EXPECT_FLOAT_EQ(quad.v[2].x, 511 + 128);
  EXPECT_FLOAT_EQ(quad.v[2].y, 300 + 128);
  EXPECT_FLOAT_EQ(quad.v[2].u, 1);
  EXPECT_FLOAT_EQ(quad.v[2].v, 1);
  EXPECT_EQ(quad.blend, BLEND_DEFAULT);
}

constexpr int kScreenWidth = 400;
constexpr int kScreenHeight = 300;

void DrawFullSplash(Engine* engine, void*) {
  const auto png = engine_assets::Get("engine/splash.png");
  TextureHandle logo = engine->Texture_Load(png.data(), static_cast<std::uint32_t>(png.size()));
  Quad quad = MakeSplashQuad(kScreenWidth, kScreenHeight, logo);
  // A grey frame first: the splash frame must clear to black by itself.
  if (engine->Gfx_BeginScene(nullptr)) {
    engine->Gfx_Clear(0xFF808080u);
    engine->Gfx_EndScene();
  }
  DrawSplashFrame(engine, &quad, 255);
  engine->Texture_Free(logo);
}

TEST(SplashPicture, FullOpacityShowsTheLogoCentredOnBlack) {
  UseOffscreenVideo();
  Engine* probe = Engine_Create(ENGINE_VERSION);
  ASSERT_NE(probe, nullptr);
  probe->Release();
  const std::string path = ::testing::TempDir() + "splash_full.png";
  ASSERT_TRUE(
      RenderOffscreenPng(kScreenWidth, kScreenHeight, DrawFullSplash, nullptr, path.c_str()));
  std::ifstream in(path, std::ios::binary);
  const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in),
                                         std::istreambuf_iterator<char>()};
  ImageArgb shot, logo;
  ASSERT_TRUE(DecodePng(bytes.data(), bytes.size(), &shot));
  const auto png = engine_assets::Get("engine/splash.png");
  ASSERT_TRUE(DecodePng(png.data(), png.size(), &logo));
  ASSERT_EQ(logo.width, kSplashSize);
  ASSERT_EQ(shot.width, kScreenWidth);

  const int left = kScreenWidth / 2 - 128, top = kScreenHeight / 2 - 128;
  int mismatches = 0;
  for (int y = 0; y < kScreenHeight; ++y) {
    for (int x = 0; x < kScreenWidth; ++x) {
      const std::uint32_t got = shot.pixels[y * kScreenWidth + x];
      const bool inside = x >= left && x < left + 256 && y >= top && y < top + 256;
      if (!inside) {
        mismatches += got != 0xFF000000u;
        continue;
      }
      // The logo blended over black: each channel times its alpha.
      const std::uint32_t texel = logo.pixels[(y - top) * 256 + (x - left)];
      const int alpha = texel >> 24;
      for (int shift : {0, 8, 16}) {
        const int expected = ((texel >> shift) & 0xFF) * alpha / 255;
        mismatches += std::abs(static_cast<int>((got >> shift) & 0xFF) - expected) > 1;
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
  std::remove(path.c_str());
}

bool KeepRunning() {
  return false;
}

TEST(SplashRun, InitiateShowsTheSplashAndRestoresTheFunctions) {
  UseOffscreenVideo();
  Engine* engine = Engine_Create(ENGINE_VERSION);
  ASSERT_NE(engine, nullptr);
  engine->System_SetState(STATE_SCREEN_WIDTH, kScreenWidth);
  engine->System_SetState(STATE_SCREEN_HEIGHT, kScreenHeight);
  engine->System_SetState(STATE_WINDOWED, true);
  engine->System_SetState(STATE_SOUND, false);
  engine->System_SetState(STATE_FRAME_FUNC, KeepRunning);
  ASSERT_TRUE(engine->System_Initiate(false)) << engine->System_LastError();
  EXPECT_EQ(engine->System_GetState(STATE_FRAME_FUNC), KeepRunning);
  EXPECT_EQ(engine->System_GetState(STATE_RENDER_FUNC), nullptr);
  EXPECT_GT(static_cast<EngineImpl*>(engine)->graphics.DrawCalls(), 0u) << "splash frames drawn";
  EXPECT_GE(engine->Timer_Seconds(), 1.25f) << "the splash ends after its fade-out";
  engine->System_Shutdown();
  engine->Release();
}

}  // namespace
