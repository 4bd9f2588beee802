#include "tests/scenarios/skin_pictures.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

int Channel(std::uint32_t argb, int shift) {
  return static_cast<int>((argb >> shift) & 0xFF);
}

bool Near(std::uint32_t a, std::uint32_t b, int tolerance) {
  for (int shift : {0, 8, 16}) {
    if (std::abs(Channel(a, shift) - Channel(b, shift)) > tolerance) return false;
  }
  return true;
}

bool Covered(const std::vector<ShotBox>& covers, int x, int y) {
  for (const ShotBox& cover : covers) {
    if (cover.Holds(x, y)) return true;
  }
  return false;
}

std::uint32_t TexelOf(const ImageArgb& atlas, int x, int y) {
  return atlas.pixels[static_cast<std::size_t>(y) * atlas.width + x];
}

std::uint32_t AtlasTexel(int x, int y) {
  return TexelOf(SkinAtlas(), x, y);
}

ImageArgb ReadAtlas(const char* path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  ImageArgb image;
  if (!DecodePng(bytes.data(), bytes.size(), &image)) return ImageArgb{};
  return image;
}

bool Inside(const ImageArgb& shot, int x, int y) {
  return x >= 0 && y >= 0 && x < shot.width && y < shot.height;
}

}  // namespace

const ImageArgb& SkinAtlas() {
  static const ImageArgb atlas = ReadAtlas(CORSARO_SOURCE_DIR "/assets/skin/skin.png");
  return atlas;
}

const ImageArgb& DoubledSkinAtlas() {
  static const ImageArgb atlas = ReadAtlas(CORSARO_SOURCE_DIR "/assets/skin/skin@2x.png");
  return atlas;
}

TexelCount CountShownTexels(const ImageArgb& shot, AtlasRect region, int x, int y,
                            const std::vector<ShotBox>& covers) {
  return CountShownTexelsAtScale(shot, 1, region, x, y, covers);
}

TexelCount CountShownTexelsAtScale(const ImageArgb& shot, int scale, AtlasRect region, int x, int y,
                                   const std::vector<ShotBox>& covers) {
  TexelCount count;
  const ImageArgb& atlas = scale == 2 ? DoubledSkinAtlas() : SkinAtlas();
  if (atlas.pixels.empty() || (scale != 1 && scale != 2)) return count;
  for (int dy = 0; dy < region.h * scale; ++dy) {
    for (int dx = 0; dx < region.w * scale; ++dx) {
      const int px = x * scale + dx;
      const int py = y * scale + dy;
      const std::uint32_t texel = TexelOf(atlas, region.x * scale + dx, region.y * scale + dy);
      if ((texel >> 24) != 0xFF || !Inside(shot, px, py) || Covered(covers, px / scale, py / scale))
        continue;
      ++count.opaque;
      count.shown += Near(shot.pixels[py * shot.width + px], texel, 1);
    }
  }
  return count;
}

TexelCount CountShownStretched(const ImageArgb& shot, AtlasRect region, ShotBox box, int tolerance,
                               const std::vector<ShotBox>& covers) {
  TexelCount count;
  if (SkinAtlas().pixels.empty()) return count;
  for (int j = 0; j < box.h; ++j) {
    for (int i = 0; i < box.w; ++i) {
      const int px = box.x + i;
      const int py = box.y + j;
      if (!Inside(shot, px, py) || Covered(covers, px, py)) continue;
      // The pixel's centre in texels of the region, then the four texels around it.
      const double u = (i + 0.5) * region.w / box.w - 0.5;
      const double v = (j + 0.5) * region.h / box.h - 0.5;
      const int u0 = static_cast<int>(std::floor(u));
      const int v0 = static_cast<int>(std::floor(v));
      if (u0 < 0 || v0 < 0 || u0 + 1 >= region.w || v0 + 1 >= region.h) continue;
      const std::uint32_t corners[4] = {AtlasTexel(region.x + u0, region.y + v0),
                                        AtlasTexel(region.x + u0 + 1, region.y + v0),
                                        AtlasTexel(region.x + u0, region.y + v0 + 1),
                                        AtlasTexel(region.x + u0 + 1, region.y + v0 + 1)};
      bool opaque = true;
      for (std::uint32_t corner : corners) opaque = opaque && (corner >> 24) == 0xFF;
      if (!opaque) continue;
      const double fu = u - u0;
      const double fv = v - v0;
      std::uint32_t expected = 0;
      for (int shift : {0, 8, 16}) {
        const double top = Channel(corners[0], shift) * (1 - fu) + Channel(corners[1], shift) * fu;
        const double bottom =
            Channel(corners[2], shift) * (1 - fu) + Channel(corners[3], shift) * fu;
        const int value = static_cast<int>(std::lround(top * (1 - fv) + bottom * fv));
        expected |= static_cast<std::uint32_t>(value) << shift;
      }
      ++count.opaque;
      count.shown += Near(shot.pixels[py * shot.width + px], expected, tolerance);
    }
  }
  return count;
}
