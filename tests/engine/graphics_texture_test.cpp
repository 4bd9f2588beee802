// Textures: loading from PNG and BMP bytes, sizes, locking, freeing, and bad data.
#include <fstream>
#include <iterator>

#include "engine/bmp_writer.h"
#include "engine/png_codec.h"
#include "tests/engine/graphics_fixture.h"

namespace {

std::vector<unsigned char> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Encodes an image through a temporary file, as the codecs write files.
std::vector<unsigned char> Encode(bool png, int w, int h, std::uint32_t (*fill)(int, int)) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) pixels[y * w + x] = fill(x, y);
  const std::string path = ::testing::TempDir() + (png ? "texture_test.png" : "texture_test.bmp");
  const bool written = png ? WritePng(path.c_str(), w, h, pixels.data())
                           : WriteBmp(path.c_str(), w, h, pixels.data());
  EXPECT_TRUE(written);
  std::vector<unsigned char> bytes = ReadFile(path);
  std::remove(path.c_str());
  return bytes;
}

std::uint32_t Gradient(int x, int y) {
  return 0x80000000u | (static_cast<std::uint32_t>(x & 0xFF) << 16) |
         (static_cast<std::uint32_t>(y & 0xFF) << 8);
}

class GraphicsTextureTest : public GraphicsTest {};

TEST_F(GraphicsTextureTest, LoadedPngReportsImageAndSurfaceSizes) {
  std::vector<unsigned char> png = Encode(true, 256, 128, Gradient);
  TextureHandle texture = engine().Texture_Load(png.data(), png.size(), false);
  ASSERT_NE(texture, nullptr) << gfx().LastError();
  EXPECT_EQ(engine().Texture_Width(texture, true), 256);
  EXPECT_EQ(engine().Texture_Height(texture, true), 128);
  EXPECT_EQ(engine().Texture_Width(texture, false), 256);
  EXPECT_EQ(engine().Texture_Height(texture, false), 128);

  std::vector<unsigned char> odd = Encode(true, 300, 100, Gradient);
  TextureHandle other = engine().Texture_Load(odd.data(), odd.size(), true);
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(engine().Texture_Width(other, true), 300);
  EXPECT_EQ(engine().Texture_Height(other, true), 100);
  // The device takes sizes that are not powers of two as they are.
  EXPECT_EQ(engine().Texture_Width(other, false), 300);
  EXPECT_EQ(engine().Texture_Height(other, false), 100);

  // The decoded pixels keep their alpha and colour.
  std::uint32_t* pixels = engine().Texture_Lock(texture, true, 0, 0, 0, 0);
  ASSERT_NE(pixels, nullptr);
  EXPECT_EQ(pixels[5 * 256 + 200], Gradient(200, 5));
  engine().Texture_Unlock(texture);
  engine().Texture_Free(texture);
  engine().Texture_Free(other);
}

TEST_F(GraphicsTextureTest, SizeZeroLoadsTheNamedFile) {
  std::vector<unsigned char> png = Encode(true, 12, 6, Gradient);
  const std::string path = ::testing::TempDir() + "texture_from_file.png";
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  TextureHandle texture = engine().Texture_Load(path.c_str(), 0, false);
  ASSERT_NE(texture, nullptr) << engine().System_LastError();
  EXPECT_EQ(engine().Texture_Width(texture, true), 12);
  engine().Texture_Free(texture);
  std::remove(path.c_str());
  EXPECT_EQ(engine().Texture_Load(path.c_str(), 0, false), nullptr) << "the file is gone";
}

TEST_F(GraphicsTextureTest, CreatedTexturesAreNotInTheList) {
  TextureHandle texture = engine().Texture_Create(30, 20);
  ASSERT_NE(texture, nullptr);
  EXPECT_EQ(engine().Texture_Width(texture, true), 0);
  EXPECT_EQ(engine().Texture_Height(texture, true), 0);
  EXPECT_EQ(engine().Texture_Width(texture, false), 30);
  EXPECT_EQ(engine().Texture_Height(texture, false), 20);
  EXPECT_EQ(engine().Texture_Width(nullptr, false), 0);
  engine().Texture_Free(texture);
  engine().Texture_Free(nullptr);
}

TEST_F(GraphicsTextureTest, BmpBytesLoadOpaque) {
  std::vector<unsigned char> bmp = Encode(false, 7, 5, Gradient);
  TextureHandle texture = engine().Texture_Load(bmp.data(), bmp.size(), false);
  ASSERT_NE(texture, nullptr);
  EXPECT_EQ(engine().Texture_Width(texture, true), 7);
  std::uint32_t* pixels = engine().Texture_Lock(texture, true, 0, 0, 0, 0);
  ASSERT_NE(pixels, nullptr);
  EXPECT_EQ(pixels[4 * 7 + 6], Gradient(6, 4) | 0xFF000000u);
  engine().Texture_Unlock(texture);
  engine().Texture_Free(texture);
}

TEST_F(GraphicsTextureTest, CorruptOrTruncatedImagesFailWithTheirText) {
  std::vector<unsigned char> png = Encode(true, 64, 64, Gradient);
  const std::vector<std::size_t> cuts = {png.size() / 2, 40, 8, 3};
  for (std::size_t cut : cuts) {
    EXPECT_EQ(engine().Texture_Load(png.data(), cut, false), nullptr) << cut;
    EXPECT_STREQ(gfx().LastError(), "Can't create texture");
  }
  std::vector<unsigned char> damaged = png;
  for (std::size_t i = 40; i < damaged.size(); i += 7) damaged[i] ^= 0x5A;
  EXPECT_EQ(engine().Texture_Load(damaged.data(), damaged.size(), false), nullptr);

  std::vector<unsigned char> bmp = Encode(false, 16, 16, Gradient);
  EXPECT_EQ(engine().Texture_Load(bmp.data(), bmp.size() - 10, false), nullptr);
  const char dds[] = "DDS |not an image we know";
  EXPECT_EQ(engine().Texture_Load(dds, sizeof dds, false), nullptr);
  EXPECT_STREQ(gfx().LastError(), "Can't create texture");
  EXPECT_STREQ(engine().System_LastError(), "Can't create texture");
}

TEST_F(GraphicsTextureTest, LockGivesLevelZeroAndUnlockUploadsIt) {
  TextureHandle texture = engine().Texture_Create(8, 4);
  std::uint32_t* area = engine().Texture_Lock(texture, false, 2, 1, 3, 2);
  ASSERT_NE(area, nullptr);
  // Rows follow the texture's width.
  area[0] = 0xFFFF0000;
  area[8 + 2] = 0xFF00FF00;
  engine().Texture_Unlock(texture);

  BeginCleared();
  Quad q = MakeQuad(0, 0, 8, 4, 0xFFFFFFFF, texture);
  engine().Gfx_DrawQuad(&q);
  engine().Gfx_EndScene();
  EXPECT_EQ(Pixel(2, 1), 0xFFFF0000u);
  EXPECT_EQ(Pixel(4, 2), 0xFF00FF00u);
  EXPECT_EQ(Pixel(3, 1), kBackground) << "transparent texels are not drawn";
  engine().Texture_Free(texture);
}

TEST_F(GraphicsTextureTest, LockRefusesWhatItCannotGive) {
  TextureHandle texture = engine().Texture_Create(8, 8);
  EXPECT_EQ(engine().Texture_Lock(texture, true, 4, 4, 5, 1), nullptr);
  EXPECT_STREQ(gfx().LastError(), "Can't lock texture");
  ASSERT_NE(engine().Texture_Lock(texture, true, 0, 0, 0, 0), nullptr);
  EXPECT_EQ(engine().Texture_Lock(texture, true, 0, 0, 0, 0), nullptr) << "already locked";
  engine().Texture_Unlock(texture);
  engine().Texture_Free(texture);
}

TEST_F(GraphicsTextureTest, RenderTargetTexturesAreAnotherFormatAndGiveNoError) {
  TargetHandle target = engine().Target_Create(32, 32, true);
  ASSERT_NE(target, nullptr);
  EXPECT_STREQ(gfx().LastError(), "");
  EXPECT_EQ(engine().Texture_Lock(engine().Target_Texture(target), true, 0, 0, 0, 0), nullptr);
  EXPECT_STREQ(gfx().LastError(), "");
  // Freeing a target's texture is the target's business.
  engine().Texture_Free(engine().Target_Texture(target));
  engine().Target_Free(target);
  EXPECT_EQ(engine().Target_Create(0, 10, false), nullptr);
  EXPECT_STREQ(gfx().LastError(), "Can't create render target texture");
}

TEST_F(GraphicsTextureTest, FreeingTheBoundTextureKeepsTheBatchSound) {
  TextureHandle doomed = MakeTexture(2, 2, [](int, int) { return 0xFFFF0000u; });
  BeginCleared();
  Quad q = MakeQuad(0, 0, 4, 4, 0xFFFFFFFF, doomed);
  engine().Gfx_DrawQuad(&q);
  engine().Texture_Free(doomed);  // the queued quad is drawn before the texture goes
  Quad plain = MakeQuad(10, 0, 4, 4, 0xFF00FF00);
  engine().Gfx_DrawQuad(&plain);
  engine().Gfx_EndScene();
  EXPECT_EQ(Pixel(1, 1), 0xFFFF0000u);
  EXPECT_EQ(Pixel(11, 1), 0xFF00FF00u);
}

TEST_F(GraphicsTextureTest, ShutdownFreesListedTexturesAndIsRepeatable) {
  std::vector<unsigned char> png = Encode(true, 4, 4, Gradient);
  TextureHandle loaded = engine().Texture_Load(png.data(), png.size(), false);
  ASSERT_NE(loaded, nullptr);
  TextureHandle created = engine().Texture_Create(4, 4);
  gfx().Shutdown();
  EXPECT_FALSE(gfx().HasDevice());
  gfx().Shutdown();
  EXPECT_FALSE(engine().Gfx_BeginScene(nullptr));
  engine().Texture_Free(loaded);   // already freed by the shutdown: ignored, not freed twice
  engine().Texture_Free(created);  // textures from Texture_Create stay with their owner
}

}  // namespace
