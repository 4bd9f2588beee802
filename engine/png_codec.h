#pragma once
// PNG images to and from 32-bit ARGB pixels: libpng on Linux; on Windows WIC decodes them and
// zlib alone writes them.

#include <cstddef>
#include <cstdint>
#include <vector>

// A decoded image: rows top first, each pixel ARGB with alpha in the top byte.
struct ImageArgb {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
};

// Images larger than this on either side are refused before any memory is allocated.
constexpr int kMaxImageSide = 16384;

// True when the bytes start with the PNG signature.
bool IsPng(const void* bytes, std::size_t size);
// Decodes PNG bytes; false for corrupt, truncated or oversized data.
bool DecodePng(const void* bytes, std::size_t size, ImageArgb* image);
// Writes the pixels (rows top first, pitch = width) as an RGBA PNG file.
bool WritePng(const char* path, int width, int height, const std::uint32_t* argb);
