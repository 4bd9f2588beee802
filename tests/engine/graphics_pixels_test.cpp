// What reaches the pixels: texel-exact mapping, blending, colour add, clipping, transforms,
// render targets, depth and the alpha test.
#include <array>

#include "engine/bmp_writer.h"
#include "tests/engine/graphics_fixture.h"

namespace {

constexpr std::uint32_t kRgb = 0x00FFFFFFu;

// Every texel different, all opaque.
std::uint32_t Pattern(int x, int y) {
  return 0xFF000000u | (static_cast<std::uint32_t>(x * 13 + 7) << 16) |
         (static_cast<std::uint32_t>(y * 29 + 3) << 8) | static_cast<std::uint32_t>(x ^ y);
}

class GraphicsPixelsTest : public GraphicsTest {};

TEST_F(GraphicsPixelsTest, QuadAtIntegerCoordinatesMapsTexelsOneToOne) {
  constexpr int kW = 16, kH = 8, kX = 37, kY = 21;
  TextureHandle texture = MakeTexture(kW, kH, Pattern);  // linear filtering is on
  BeginCleared();
  Quad q = MakeQuad(kX, kY, kW, kH, 0xFFFFFFFF, texture);
  engine().Gfx_DrawQuad(&q);
  engine().Gfx_EndScene();

  std::vector<std::uint32_t> shot((kW + 2) * (kH + 2));
  ASSERT_TRUE(gfx().ReadPixels(nullptr, kX - 1, kY - 1, kW + 2, kH + 2, shot.data()));
  for (int y = 0; y < kH + 2; ++y) {
    for (int x = 0; x < kW + 2; ++x) {
      const bool inside = x >= 1 && x <= kW && y >= 1 && y <= kH;
      const std::uint32_t expected = inside ? Pattern(x - 1, y - 1) : kBackground;
      ASSERT_EQ(shot[y * (kW + 2) + x], expected) << "pixel " << x << "," << y;
    }
  }
  engine().Texture_Free(texture);
}

TEST_F(GraphicsPixelsTest, AlphaBlendingAndAdditiveBlendingDiffer) {
  BeginCleared();
  Quad blended = MakeQuad(0, 0, 10, 10, 0x80FF0000, nullptr, BLEND_ALPHA_BLEND);
  Quad added = MakeQuad(20, 0, 10, 10, 0x80FF0000, nullptr, 0);
  engine().Gfx_DrawQuad(&blended);
  engine().Gfx_DrawQuad(&added);
  engine().Gfx_EndScene();
  // 0xFF * a + 0x20 * (1 - a) with a = 128/255, against 0x20 + 0xFF * a.
  const std::uint32_t mix = Pixel(5, 5);
  const std::uint32_t sum = Pixel(25, 5);
  EXPECT_NEAR(Channel(mix, 16), 0x8F, 1);
  EXPECT_NEAR(Channel(mix, 8), 0x10, 1);
  EXPECT_NEAR(Channel(sum, 16), 0xA0, 1);
  EXPECT_EQ(Channel(sum, 8), 0x20);
}

TEST_F(GraphicsPixelsTest, ColourAddAddsVertexColourToTheTexture) {
  TextureHandle texture = MakeTexture(2, 2, [](int, int) { return 0xFF806040u; });
  BeginCleared();
  Quad modulate = MakeQuad(0, 0, 8, 8, 0xFF80FF20, texture, BLEND_DEFAULT);
  Quad add = MakeQuad(10, 0, 8, 8, 0xFF10FFA0, texture, BLEND_DEFAULT | BLEND_COLOR_ADD);
  engine().Gfx_DrawQuad(&modulate);
  engine().Gfx_DrawQuad(&add);
  engine().Gfx_EndScene();
  const std::uint32_t times = Pixel(4, 4);
  EXPECT_NEAR(Channel(times, 16), 0x80 * 0x80 / 255, 1);
  EXPECT_NEAR(Channel(times, 8), 0x60, 1);
  EXPECT_NEAR(Channel(times, 0), 0x40 * 0x20 / 255, 1);
  // Sums clamp at 255.
  EXPECT_EQ(Pixel(14, 4) & kRgb, 0x90FFE0u);
  engine().Texture_Free(texture);
}

TEST_F(GraphicsPixelsTest, ClipRectIsCutToTheScreen) {
  engine().Gfx_SetClipRect(-10, -10, 100, 100);
  BeginCleared();
  Quad everything = MakeQuad(0, 0, kWidth, kHeight, 0xFF00FF00);
  engine().Gfx_DrawQuad(&everything);
  engine().Gfx_EndScene();
  EXPECT_EQ(Pixel(0, 0), 0xFF00FF00u);
  EXPECT_EQ(Pixel(89, 89), 0xFF00FF00u);
  EXPECT_EQ(Pixel(90, 89), kBackground);
  EXPECT_EQ(Pixel(89, 90), kBackground);

  engine().Gfx_SetClipRect(100, 50, 100, 100);  // cut at the right and bottom edges
  ASSERT_TRUE(engine().Gfx_BeginScene(nullptr));
  Quad blue = MakeQuad(0, 0, kWidth, kHeight, 0xFF0000FF);
  engine().Gfx_DrawQuad(&blue);
  engine().Gfx_EndScene();
  EXPECT_EQ(Pixel(80, 60), 0xFF00FF00u);
  EXPECT_EQ(Pixel(99, 60), kBackground);
  EXPECT_EQ(Pixel(100, 50), 0xFF0000FFu);
  EXPECT_EQ(Pixel(kWidth - 1, kHeight - 1), 0xFF0000FFu);

  engine().Gfx_SetClipRect(0, 0, 0, 0);  // width 0 removes the limit
  ASSERT_TRUE(engine().Gfx_BeginScene(nullptr));
  Quad red = MakeQuad(0, 0, kWidth, kHeight, 0xFFFF0000);
  engine().Gfx_DrawQuad(&red);
  engine().Gfx_EndScene();
  EXPECT_EQ(Pixel(kWidth - 1, 0), 0xFFFF0000u);
}

TEST_F(GraphicsPixelsTest, TransformMovesScalesAndResets) {
  BeginCleared();
  engine().Gfx_SetTransform(0, 0, 50, 20, 0, 2, 2);  // double size, then move by (50, 20)
  Quad q = MakeQuad(0, 0, 5, 5, 0xFFFF0000);
  engine().Gfx_DrawQuad(&q);
  engine().Gfx_SetTransform(0, 0, 0, 0, 0, 0, 0);  // vertical scale 0: identity
  Quad g = MakeQuad(0, 0, 5, 5, 0xFF00FF00);
  engine().Gfx_DrawQuad(&g);
  engine().Gfx_EndScene();
  EXPECT_EQ(Pixel(50, 20), 0xFFFF0000u);
  EXPECT_EQ(Pixel(59, 29), 0xFFFF0000u);
  EXPECT_EQ(Pixel(60, 30), kBackground);
  EXPECT_EQ(Pixel(4, 4), 0xFF00FF00u);
  EXPECT_EQ(Pixel(6, 6), kBackground);
}

TEST_F(GraphicsPixelsTest, RenderTargetKeepsItsPictureTheRightWayUp) {
  TargetHandle target = engine().Target_Create(16, 8, false);
  ASSERT_NE(target, nullptr);
  ASSERT_TRUE(engine().Gfx_BeginScene(target));
  engine().Gfx_Clear(0xFF0000FF);
  Quad top = MakeQuad(0, 0, 16, 2, 0xFFFF0000);  // a red band along the top
  engine().Gfx_DrawQuad(&top);
  engine().Gfx_EndScene();
  EXPECT_EQ(Pixel(3, 0, target), 0xFFFF0000u);
  EXPECT_EQ(Pixel(3, 7, target), 0xFF0000FFu);

  BeginCleared();
  Quad shown = MakeQuad(40, 30, 16, 8, 0xFFFFFFFF, engine().Target_Texture(target));
  engine().Gfx_DrawQuad(&shown);
  engine().Gfx_EndScene();
  EXPECT_EQ(Pixel(45, 31), 0xFFFF0000u);
  EXPECT_EQ(Pixel(45, 37), 0xFF0000FFu);
  EXPECT_EQ(engine().Texture_Width(engine().Target_Texture(target), false), 16);
  engine().Target_Free(target);
}

TEST_F(GraphicsPixelsTest, TextureFilterStateFlushesAndSwitchesSampling) {
  TextureHandle texture =
      MakeTexture(2, 1, [](int x, int) { return x == 0 ? 0xFFFF0000u : 0xFF0000FFu; });
  BeginCleared();
  const auto before = gfx().DrawCalls();
  Quad smooth = MakeQuad(0, 0, 20, 4, 0xFFFFFFFF, texture);
  engine().Gfx_DrawQuad(&smooth);
  engine().textureFilter = false;  // what setting STATE_TEXTURE_FILTER does with a device
  Quad sharp = MakeQuad(0, 10, 20, 4, 0xFFFFFFFF, texture);
  engine().Gfx_DrawQuad(&sharp);
  engine().Gfx_EndScene();
  EXPECT_EQ(gfx().DrawCalls() - before, 2u) << "the change flushed the batch";
  const std::uint32_t blended = Pixel(9, 2);
  EXPECT_GT(Channel(blended, 16), 0x20);
  EXPECT_GT(Channel(blended, 0), 0x20);
  EXPECT_EQ(Pixel(9, 12), 0xFFFF0000u);
  EXPECT_EQ(Pixel(10, 12), 0xFF0000FFu);
  engine().Texture_Free(texture);
}

TEST_F(GraphicsPixelsTest, ScreenshotIsABitmapOfTheBackBuffer) {
  BeginCleared();
  Quad q = MakeQuad(10, 10, 20, 5, 0xFF123456);
  engine().Gfx_DrawQuad(&q);
  engine().Gfx_EndScene();
  const std::string path = ::testing::TempDir() + "graphics_shot.bmp";
  ASSERT_TRUE(gfx().SaveBackBuffer(path.c_str()));

  std::FILE* file = std::fopen(path.c_str(), "rb");
  ASSERT_NE(file, nullptr);
  std::vector<unsigned char> bytes(kWidth * kHeight * 4 + 1024);
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
  std::fclose(file);
  ImageArgb image;
  ASSERT_TRUE(DecodeBmp(bytes.data(), bytes.size(), &image));
  ASSERT_EQ(image.width, kWidth);
  ASSERT_EQ(image.height, kHeight);
  EXPECT_EQ(image.pixels[12 * kWidth + 15], 0xFF123456u);
  EXPECT_EQ(image.pixels[0], kBackground);
  std::remove(path.c_str());
}

class GraphicsDepthTest : public GraphicsTest {
 protected:
  bool WantDepthBuffer() const override { return true; }
};

TEST_F(GraphicsDepthTest, TransparentTexelsAreNotDrawnAndWriteNoDepth) {
  // Left half of the texture fully transparent, right half opaque white.
  TextureHandle texture =
      MakeTexture(2, 1, [](int x, int) { return x == 0 ? 0x00FFFFFFu : 0xFFFFFFFFu; });
  BeginCleared();
  const int front = BLEND_DEFAULT | BLEND_DEPTH_WRITE;
  Quad near = MakeQuad(0, 0, 20, 10, 0xFFFFFFFF, texture, front, 0.1f);
  gfx().SetTextureFilter(false);
  engine().Gfx_DrawQuad(&near);
  Quad far = MakeQuad(0, 0, 20, 10, 0xFFFF0000, nullptr, front, 0.9f);
  engine().Gfx_DrawQuad(&far);
  engine().Gfx_EndScene();
  EXPECT_EQ(Pixel(5, 5), 0xFFFF0000u) << "the transparent half let the far quad through";
  EXPECT_EQ(Pixel(15, 5), 0xFFFFFFFFu) << "the opaque half hid the far quad";
  engine().Texture_Free(texture);
}

}  // namespace
