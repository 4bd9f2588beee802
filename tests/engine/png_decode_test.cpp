// PNG decoding of the carried art, on every platform the program builds for: whichever decoder
// is beneath, the pixels are the same.
#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>
#include <string>
#include <vector>

#include "engine/png_codec.h"

namespace {

std::vector<unsigned char> Asset(const std::string& name) {
  std::ifstream in(CORSARO_SOURCE_DIR "/assets/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The CRC-32 of the pixels as BGRA bytes, rows top first.
std::uint32_t PixelCrc(const ImageArgb& image) {
  std::vector<unsigned char> bytes;
  bytes.reserve(image.pixels.size() * 4);
  for (std::uint32_t pixel : image.pixels) {
    for (int shift = 0; shift < 32; shift += 8)
      bytes.push_back(static_cast<unsigned char>(pixel >> shift));
  }
  return static_cast<std::uint32_t>(crc32(0, bytes.data(), static_cast<uInt>(bytes.size())));
}

struct Art {
  const char* name;
  int width;
  int height;
  std::uint32_t crc;
};

TEST(PngDecoding, CarriedArtDecodesToThePixelsAnotherDecoderReads) {
  // Sizes and CRCs as Python's PIL reads the files (convert("RGBA"), then the "BGRA" raw bytes);
  // the splash has no alpha channel, so its pixels are opaque.
  const Art arts[] = {
      {"skin/skin.png", 2048, 1024, 0xc2f2b892},
      {"icon/icon.png", 128, 128, 0x124b9b57},
      {"engine/splash.png", 256, 256, 0x3e14341a},
      {"fonts/myriad_16s.png", 256, 128, 0x6830e9e1},
  };
  for (const Art& art : arts) {
    SCOPED_TRACE(art.name);
    const std::vector<unsigned char> bytes = Asset(art.name);
    ImageArgb image;
    ASSERT_TRUE(DecodePng(bytes.data(), bytes.size(), &image));
    EXPECT_EQ(image.width, art.width);
    EXPECT_EQ(image.height, art.height);
    EXPECT_EQ(PixelCrc(image), art.crc);
  }
}

TEST(PngDecoding, CutOrForeignBytesAreRefused) {
  std::vector<unsigned char> bytes = Asset("icon/icon.png");
  ASSERT_GT(bytes.size(), 100u);
  bytes.resize(bytes.size() / 2);
  ImageArgb image;
  EXPECT_FALSE(DecodePng(bytes.data(), bytes.size(), &image));
  const std::string text = "\x89PNG\r\n\x1a\n but nothing after the signature";
  EXPECT_FALSE(DecodePng(text.data(), text.size(), &image));
  EXPECT_FALSE(DecodePng(nullptr, 0, &image));
}

}  // namespace
