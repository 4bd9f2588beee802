// A scene on the screen that repeats the picture already there is neither drawn nor presented;
// every change of what it draws, or of the device under it, draws it again.
#include <functional>

#include "tests/engine/graphics_fixture.h"

namespace {

class UnchangedSceneTest : public GraphicsTest {
 protected:
  // One scene: a clear to the background, then whatever `draw` adds.
  void Scene(const std::function<void()>& draw) {
    BeginCleared();
    draw();
    engine().Gfx_EndScene();
  }

  void RedSquare() {
    Quad q = MakeQuad(10, 10, 20, 20, 0xFFFF0000);
    engine().Gfx_DrawQuad(&q);
  }

  std::uint64_t Drawn() { return gfx().DrawnScenes(); }
  std::uint64_t Skipped() { return gfx().SkippedScenes(); }
};

TEST_F(UnchangedSceneTest, ARepeatedSceneIsSkippedAndItsPictureStays) {
  Scene([&] { RedSquare(); });
  const auto drawn = Drawn();
  const auto skipped = Skipped();
  for (int i = 0; i < 3; ++i) Scene([&] { RedSquare(); });
  EXPECT_EQ(Drawn(), drawn);
  EXPECT_EQ(Skipped() - skipped, 3u);
  EXPECT_EQ(Pixel(15, 15), 0xFFFF0000u);
  EXPECT_EQ(Pixel(50, 50), kBackground);
}

TEST_F(UnchangedSceneTest, AnyDifferenceInTheSceneDrawsIt) {
  TextureHandle green = MakeTexture(4, 4, [](int, int) { return 0xFF00FF00u; });
  const struct {
    const char* change;
    std::function<void()> draw;
    int x, y;
    std::uint32_t expected;
  } kChanges[] = {
      {"a moved quad",
       [&] {
         Quad q = MakeQuad(40, 10, 20, 20, 0xFFFF0000);
         engine().Gfx_DrawQuad(&q);
       },
       45, 15, 0xFFFF0000u},
      {"another colour",
       [&] {
         Quad q = MakeQuad(10, 10, 20, 20, 0xFF00FF00);
         engine().Gfx_DrawQuad(&q);
       },
       15, 15, 0xFF00FF00u},
      {"a texture",
       [&] {
         Quad q = MakeQuad(10, 10, 20, 20, 0xFFFFFFFF, green);
         engine().Gfx_DrawQuad(&q);
       },
       15, 15, 0xFF00FF00u},
      {"a clip rectangle",
       [&] {
         engine().Gfx_SetClipRect(10, 10, 5, 5);
         RedSquare();
         engine().Gfx_SetClipRect(0, 0, 0, 0);
       },
       20, 20, kBackground},
      {"a view transform",
       [&] {
         engine().Gfx_SetTransform(0, 0, 30, 0, 0, 1, 1);
         RedSquare();
         engine().Gfx_SetTransform(0, 0, 0, 0, 0, 0, 0);
       },
       45, 15, 0xFFFF0000u},
  };
  for (const auto& c : kChanges) {
    SCOPED_TRACE(c.change);
    Scene([&] { RedSquare(); });
    Scene([&] { RedSquare(); });
    const auto drawn = Drawn();
    Scene(c.draw);
    EXPECT_EQ(Drawn() - drawn, 1u);
    EXPECT_EQ(Pixel(c.x, c.y), c.expected);
  }
  engine().Texture_Free(green);
}

TEST_F(UnchangedSceneTest, ChangesOutsideTheSceneDrawItAgain) {
  std::uint32_t colour = 0xFF0000FFu;
  TextureHandle texture = MakeTexture(4, 4, [&](int, int) { return colour; });
  auto textured = [&] {
    Quad q = MakeQuad(10, 10, 20, 20, 0xFFFFFFFF, texture);
    engine().Gfx_DrawQuad(&q);
  };
  Scene(textured);
  Scene(textured);

  // New pixels in a texture the scene samples.
  std::uint32_t* pixels = engine().Texture_Lock(texture, false, 0, 0, 0, 0);
  ASSERT_NE(pixels, nullptr);
  for (int i = 0; i < 16; ++i) pixels[i] = 0xFF00FF00u;
  engine().Texture_Unlock(texture);
  auto drawn = Drawn();
  Scene(textured);
  EXPECT_EQ(Drawn() - drawn, 1u);
  EXPECT_EQ(Pixel(15, 15), 0xFF00FF00u);

  // A scene into a render target between two equal scenes on the screen.
  Scene(textured);
  TargetHandle target = engine().Target_Create(16, 16, false);
  ASSERT_NE(target, nullptr);
  ASSERT_TRUE(engine().Gfx_BeginScene(target));
  engine().Gfx_Clear(0xFFFFFFFF);
  engine().Gfx_EndScene();
  drawn = Drawn();
  Scene(textured);
  EXPECT_EQ(Drawn() - drawn, 1u);

  // The window lost its picture.
  gfx().RepaintNextFrame();
  drawn = Drawn();
  Scene(textured);
  EXPECT_EQ(Drawn() - drawn, 1u);

  engine().Target_Free(target);
  engine().Texture_Free(texture);
}

TEST_F(UnchangedSceneTest, ASceneWithoutAClearBuildsOnTheLastAndIsAlwaysDrawn) {
  Scene([] {});
  auto addGrey = [&] {
    ASSERT_TRUE(engine().Gfx_BeginScene(nullptr));
    Quad q = MakeQuad(0, 0, kWidth, kHeight, 0xFF101010, nullptr,
                      /*blend=*/0);  // additive
    engine().Gfx_DrawQuad(&q);
    engine().Gfx_EndScene();
  };
  addGrey();
  const std::uint32_t once = Pixel(5, 5);
  const auto drawn = Drawn();
  addGrey();
  EXPECT_EQ(Drawn() - drawn, 1u);
  EXPECT_GT(Channel(Pixel(5, 5), 0), Channel(once, 0)) << "the second scene added to the first";
}

TEST_F(UnchangedSceneTest, EveryFrameIsDrawnWhenSkippingIsOffOrTheSwapPaces) {
  engine().System_SetState(STATE_SKIP_UNCHANGED_FRAMES, false);
  Scene([&] { RedSquare(); });
  auto drawn = Drawn();
  Scene([&] { RedSquare(); });
  EXPECT_EQ(Drawn() - drawn, 1u);

  engine().System_SetState(STATE_SKIP_UNCHANGED_FRAMES, true);
  engine().fps = -1;  // vertical synchronisation
  Scene([&] { RedSquare(); });
  drawn = Drawn();
  Scene([&] { RedSquare(); });
  EXPECT_EQ(Drawn() - drawn, 1u);
  EXPECT_EQ(Skipped(), 0u);
}

TEST_F(UnchangedSceneTest, ReadingTheScreenMidSceneSeesWhatWasDrawnSoFar) {
  Scene([&] { RedSquare(); });
  BeginCleared();
  EXPECT_EQ(Pixel(15, 15), kBackground);
  RedSquare();
  EXPECT_EQ(Pixel(15, 15), 0xFFFF0000u);
  engine().Gfx_EndScene();
  EXPECT_EQ(Pixel(15, 15), 0xFFFF0000u);
}

}  // namespace
