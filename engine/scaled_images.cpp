#include "engine/scaled_images.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace {
struct Pair {
  const unsigned char* image;
  std::span<const unsigned char> doubled;
};
std::vector<Pair>& Pairs() {
  static std::vector<Pair> pairs;
  return pairs;
}
}  // namespace

void RegisterDoubledImage(std::span<const unsigned char> image,
                          std::span<const unsigned char> doubled) {
  std::vector<Pair>& pairs = Pairs();
  std::erase_if(pairs, [&](const Pair& pair) { return pair.image == image.data(); });
  if (!image.empty() && !doubled.empty()) pairs.push_back(Pair{image.data(), doubled});
}

std::span<const unsigned char> DoubledImageOf(const void* image) {
  for (const Pair& pair : Pairs()) {
    if (pair.image == image) return pair.doubled;
  }
  return {};
}

ImageArgb NearestScaled(const ImageArgb& image, int factor) {
  ImageArgb scaled;
  scaled.width = image.width * factor;
  scaled.height = image.height * factor;
  scaled.pixels.resize(static_cast<std::size_t>(scaled.width) * scaled.height);
  for (int y = 0; y < scaled.height; ++y) {
    const std::uint32_t* source = &image.pixels[static_cast<std::size_t>(y / factor) * image.width];
    std::uint32_t* row = &scaled.pixels[static_cast<std::size_t>(y) * scaled.width];
    for (int x = 0; x < scaled.width; ++x) row[x] = source[x / factor];
  }
  return scaled;
}
