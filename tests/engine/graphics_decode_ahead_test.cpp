// Images decoded ahead of their Texture_Load: the load takes the decoded pixels once, bytes that
// were not handed over (or that do not decode) go the usual way, and what is never taken is
// dropped.
#include <fstream>
#include <iterator>

#include "engine/image_decode_ahead.h"
#include "tests/engine/graphics_fixture.h"

namespace {

std::vector<unsigned char> PngOf(int w, int h, std::uint32_t (*fill)(int, int)) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) pixels[static_cast<std::size_t>(y) * w + x] = fill(x, y);
  const std::string path = ::testing::TempDir() + "decode_ahead_test.png";
  EXPECT_TRUE(WritePng(path.c_str(), w, h, pixels.data()));
  std::ifstream in(path, std::ios::binary);
  std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>()};
  std::remove(path.c_str());
  return bytes;
}

std::uint32_t Stripes(int x, int y) {
  return ((x + y) % 3 == 0) ? 0xFF102030u : 0x80C0B0A0u;
}

class DecodeAheadTest : public GraphicsTest {
 protected:
  void TearDown() override {
    ForgetDecodedImages();
    GraphicsTest::TearDown();
  }
};

TEST_F(DecodeAheadTest, TheLoadTakesThePixelsDecodedAheadOnce) {
  const std::vector<unsigned char> png = PngOf(9, 5, Stripes);
  DecodeImagesAhead({std::span<const unsigned char>(png)});
  TextureHandle texture = engine().Texture_Load(png.data(), png.size(), false);
  ASSERT_NE(texture, nullptr) << engine().System_LastError();
  ImageArgb left;
  EXPECT_FALSE(TakeDecodedImage(png.data(), png.size(), &left)) << "the load took it";
  EXPECT_EQ(engine().Texture_Width(texture, true), 9);
  EXPECT_EQ(engine().Texture_Height(texture, true), 5);
  const std::uint32_t* pixels = engine().Texture_Lock(texture, true, 0, 0, 0, 0);
  ASSERT_NE(pixels, nullptr);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 9; ++x) EXPECT_EQ(pixels[y * 9 + x], Stripes(x, y)) << x << "," << y;
  engine().Texture_Unlock(texture);

  // Loading the same bytes again decodes them as usual.
  TextureHandle again = engine().Texture_Load(png.data(), png.size(), false);
  ASSERT_NE(again, nullptr);
  engine().Texture_Free(again);
  engine().Texture_Free(texture);
}

TEST_F(DecodeAheadTest, OnlyTheBytesHandedOverAreTaken) {
  const std::vector<unsigned char> png = PngOf(4, 4, Stripes);
  const std::vector<unsigned char> copy = png;
  std::vector<unsigned char> broken = png;
  broken.resize(broken.size() / 2);
  DecodeImagesAhead({std::span<const unsigned char>(png), std::span<const unsigned char>(broken)});

  // Equal bytes elsewhere in memory are not the ones handed over.
  TextureHandle fromCopy = engine().Texture_Load(copy.data(), copy.size(), false);
  ASSERT_NE(fromCopy, nullptr);
  ImageArgb image;
  EXPECT_TRUE(TakeDecodedImage(png.data(), png.size(), &image));
  EXPECT_EQ(image.width, 4);
  EXPECT_EQ(image.pixels.size(), 16u);

  // Bytes that did not decode ahead fail at the load with the usual error.
  EXPECT_EQ(engine().Texture_Load(broken.data(), broken.size(), false), nullptr);
  EXPECT_STREQ(engine().System_LastError(), "Can't create texture");
  engine().Texture_Free(fromCopy);
}

TEST_F(DecodeAheadTest, ForgettingDropsWhatWasNotTakenAndAllowsANewSet) {
  const std::vector<unsigned char> first = PngOf(3, 3, Stripes);
  DecodeImagesAhead({std::span<const unsigned char>(first)});
  ForgetDecodedImages();
  ImageArgb image;
  EXPECT_FALSE(TakeDecodedImage(first.data(), first.size(), &image));

  const std::vector<unsigned char> second = PngOf(2, 6, Stripes);
  DecodeImagesAhead({std::span<const unsigned char>(second)});
  EXPECT_TRUE(TakeDecodedImage(second.data(), second.size(), &image));
  EXPECT_EQ(image.height, 6);
}

}  // namespace
