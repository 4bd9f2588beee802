// Batching: how many real draws reach the device, and the state each flush leaves behind.
#include "tests/engine/graphics_fixture.h"

namespace {

class GraphicsBatchTest : public GraphicsTest {
 protected:
  TextureHandle White() {
    return MakeTexture(4, 4, [](int, int) { return 0xFFFFFFFFu; });
  }
};

TEST_F(GraphicsBatchTest, ThousandAndOneQuadsOnOneTextureMakeTwoDraws) {
  TextureHandle texture = White();
  ASSERT_TRUE(engine().Gfx_BeginScene(nullptr));
  const auto before = gfx().DrawCalls();
  Quad q = MakeQuad(0, 0, 4, 4, 0xFFFFFFFF, texture);
  for (int i = 0; i < 1001; ++i) engine().Gfx_DrawQuad(&q);
  EXPECT_EQ(gfx().DrawCalls() - before, 1u) << "the 1001st quad flushes the full batch";
  engine().Gfx_EndScene();
  EXPECT_EQ(gfx().DrawCalls() - before, 2u);
  engine().Texture_Free(texture);
}

TEST_F(GraphicsBatchTest, AlternatingTexturesDrawOncePerQuad) {
  TextureHandle a = White();
  TextureHandle b = White();
  ASSERT_TRUE(engine().Gfx_BeginScene(nullptr));
  const auto before = gfx().DrawCalls();
  for (int i = 0; i < 10; ++i) {
    Quad q = MakeQuad(i, 0, 4, 4, 0xFFFFFFFF, i % 2 ? a : b);
    engine().Gfx_DrawQuad(&q);
  }
  engine().Gfx_EndScene();
  EXPECT_EQ(gfx().DrawCalls() - before, 10u);
  engine().Texture_Free(a);
  engine().Texture_Free(b);
}

TEST_F(GraphicsBatchTest, ChangingTheBlendFlushes) {
  ASSERT_TRUE(engine().Gfx_BeginScene(nullptr));
  const auto before = gfx().DrawCalls();
  Quad alpha = MakeQuad(0, 0, 4, 4, 0xFFFFFFFF);
  Quad additive = MakeQuad(0, 0, 4, 4, 0xFFFFFFFF, nullptr, 0);
  engine().Gfx_DrawQuad(&alpha);
  engine().Gfx_DrawQuad(&alpha);
  engine().Gfx_DrawQuad(&additive);
  engine().Gfx_DrawQuad(&alpha);
  engine().Gfx_EndScene();
  EXPECT_EQ(gfx().DrawCalls() - before, 3u);
}

TEST_F(GraphicsBatchTest, TrianglesAndLinesHaveTheirOwnLimits) {
  ASSERT_TRUE(engine().Gfx_BeginScene(nullptr));
  const auto before = gfx().DrawCalls();
  Triangle t{};
  t.blend = BLEND_DEFAULT;
  for (int i = 0; i < 1334; ++i) engine().Gfx_DrawTriangle(&t);
  EXPECT_EQ(gfx().DrawCalls() - before, 1u) << "1333 triangles fill the batch";
  for (int i = 0; i < 2001; ++i) engine().Gfx_DrawLine(0, 0, 1, 1, 0xFFFFFFFF, 0.5f);
  // The kind change flushed the one triangle; 2000 lines filled the batch once more.
  EXPECT_EQ(gfx().DrawCalls() - before, 3u);
  engine().Gfx_EndScene();
  EXPECT_EQ(gfx().DrawCalls() - before, 4u);
}

TEST_F(GraphicsBatchTest, LineAfterQuadsFlushesUnbindsAndRestoresDefaultBlend) {
  TextureHandle texture = White();
  BeginCleared();
  const auto before = gfx().DrawCalls();
  // Additive, colour-add quads, then a half-transparent red line through untouched background.
  Quad q = MakeQuad(0, 0, 8, 8, 0xFF000000, texture, BLEND_COLOR_ADD);
  engine().Gfx_DrawQuad(&q);
  engine().Gfx_DrawQuad(&q);
  engine().Gfx_DrawLine(40.5f, 10, 40.5f, 30, 0x80FF0000, 0.5f);
  EXPECT_EQ(gfx().DrawCalls() - before, 1u) << "the line flushed the quads";
  // The same quad again: its texture is no longer bound, so the line batch is flushed.
  engine().Gfx_DrawQuad(&q);
  EXPECT_EQ(gfx().DrawCalls() - before, 2u);
  engine().Gfx_EndScene();
  EXPECT_EQ(gfx().DrawCalls() - before, 3u);

  // Alpha blending: about half of 0xFF over 0x20 (additive would give 0xA0 red).
  const std::uint32_t line = Pixel(40, 20);
  EXPECT_NEAR(Channel(line, 16), 0x8F, 2);
  EXPECT_NEAR(Channel(line, 8), 0x10, 2);
  engine().Texture_Free(texture);
}

TEST_F(GraphicsBatchTest, SecondBeginSceneFailsWithItsText) {
  ASSERT_TRUE(engine().Gfx_BeginScene(nullptr));
  EXPECT_FALSE(engine().Gfx_BeginScene(nullptr));
  EXPECT_STREQ(gfx().LastError(), "Gfx_BeginScene: Scene is already being rendered");
  EXPECT_STREQ(engine().System_LastError(), "Gfx_BeginScene: Scene is already being rendered");
  // The first scene goes on.
  engine().Gfx_Clear(0xFF00FF00);
  engine().Gfx_EndScene();
  EXPECT_EQ(Pixel(5, 5), 0xFF00FF00u);
  EXPECT_TRUE(engine().Gfx_BeginScene(nullptr));
  engine().Gfx_EndScene();
}

TEST_F(GraphicsBatchTest, DrawingOutsideASceneIsIgnored) {
  const auto before = gfx().DrawCalls();
  Quad q = MakeQuad(0, 0, 4, 4, 0xFFFFFFFF);
  engine().Gfx_DrawQuad(&q);
  engine().Gfx_DrawLine(0, 0, 5, 5, 0xFFFFFFFF, 0.5f);
  int maximum = -1;
  EXPECT_EQ(engine().Gfx_BeginBatch(PRIM_QUADS, nullptr, BLEND_DEFAULT, &maximum), nullptr);
  BeginCleared();
  engine().Gfx_EndScene();
  EXPECT_EQ(gfx().DrawCalls(), before);
  EXPECT_EQ(Pixel(1, 1), kBackground);
}

TEST_F(GraphicsBatchTest, BeginBatchHandsOutTheBufferForWholePrimitives) {
  BeginCleared();
  int maximum = 0;
  Vertex* v = engine().Gfx_BeginBatch(PRIM_QUADS, nullptr, BLEND_DEFAULT, &maximum);
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(maximum, 1000);
  Quad a = MakeQuad(10, 10, 5, 5, 0xFFFF0000);
  Quad b = MakeQuad(30, 10, 5, 5, 0xFF0000FF);
  std::copy(a.v, a.v + 4, v);
  std::copy(b.v, b.v + 4, v + 4);
  const auto before = gfx().DrawCalls();
  engine().Gfx_EndBatch(2);
  engine().Gfx_EndScene();
  EXPECT_EQ(gfx().DrawCalls() - before, 1u);
  EXPECT_EQ(Pixel(12, 12), 0xFFFF0000u);
  EXPECT_EQ(Pixel(32, 12), 0xFF0000FFu);
  EXPECT_EQ(Pixel(20, 12), kBackground);

  ASSERT_TRUE(engine().Gfx_BeginScene(nullptr));
  EXPECT_NE(engine().Gfx_BeginBatch(PRIM_LINES, nullptr, BLEND_DEFAULT, &maximum), nullptr);
  EXPECT_EQ(maximum, 2000);
  EXPECT_NE(engine().Gfx_BeginBatch(PRIM_TRIANGLES, nullptr, BLEND_DEFAULT, &maximum), nullptr);
  EXPECT_EQ(maximum, 1333);
  EXPECT_EQ(engine().Gfx_BeginBatch(5, nullptr, BLEND_DEFAULT, &maximum), nullptr);
  engine().Gfx_EndBatch(0);
  engine().Gfx_EndScene();
}

}  // namespace
