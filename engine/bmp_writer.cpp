#include "engine/bmp_writer.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::uint32_t kCompressionNone = 0;
constexpr std::uint32_t kCompressionBitfields = 3;
constexpr std::uint32_t kOpaque = 0xFF000000u;

std::uint32_t ReadU32(const unsigned char* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t ReadU16(const unsigned char* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

void PutU32(unsigned char* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}
void PutU16(unsigned char* p, std::uint16_t v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
}
}  // namespace

bool IsBmp(const void* bytes, std::size_t size) {
  return bytes != nullptr && size >= 2 && std::memcmp(bytes, "BM", 2) == 0;
}

bool DecodeBmp(const void* bytes, std::size_t size, ImageArgb* image) {
  if (!IsBmp(bytes, size) || size < kFileHeaderSize + kInfoHeaderSize) return false;
  const auto* data = static_cast<const unsigned char*>(bytes);
  const std::uint32_t pixelOffset = ReadU32(data + 10);
  const unsigned char* info = data + kFileHeaderSize;
  if (ReadU32(info) < kInfoHeaderSize) return false;
  const auto width = static_cast<std::int32_t>(ReadU32(info + 4));
  const auto rawHeight = static_cast<std::int32_t>(ReadU32(info + 8));
  const int bits = ReadU16(info + 14);
  const std::uint32_t compression = ReadU32(info + 16);
  if (bits != 24 && bits != 32) return false;
  if (compression != kCompressionNone && !(bits == 32 && compression == kCompressionBitfields))
    return false;
  const bool topDown = rawHeight < 0;
  const std::int64_t height = topDown ? -static_cast<std::int64_t>(rawHeight) : rawHeight;
  if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide) return false;
  const std::size_t bytesPerPixel = static_cast<std::size_t>(bits) / 8;
  const std::size_t pitch = (static_cast<std::size_t>(width) * bytesPerPixel + 3) & ~std::size_t{3};
  if (pixelOffset > size || (size - pixelOffset) / pitch < static_cast<std::size_t>(height))
    return false;

  image->width = width;
  image->height = static_cast<int>(height);
  image->pixels.resize(static_cast<std::size_t>(width) * height);
  for (int row = 0; row < image->height; ++row) {
    const int sourceRow = topDown ? row : image->height - 1 - row;
    const unsigned char* src = data + pixelOffset + pitch * sourceRow;
    std::uint32_t* dst = &image->pixels[static_cast<std::size_t>(row) * width];
    for (int x = 0; x < width; ++x, src += bytesPerPixel) {
      const std::uint32_t rgb = src[0] | (src[1] << 8) | (src[2] << 16);
      dst[x] = bits == 32 ? rgb | (static_cast<std::uint32_t>(src[3]) << 24) : rgb | kOpaque;
    }
  }
  return true;
}

bool WriteBmp(const char* path, int width, int height, const std::uint32_t* argb) {
  if (path == nullptr || argb == nullptr || width <= 0 || height <= 0) return false;
  const std::size_t pitch = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
  const std::size_t pixelBytes = pitch * height;
  std::vector<unsigned char> file(kFileHeaderSize + kInfoHeaderSize + pixelBytes, 0);
  unsigned char* p = file.data();
  p[0] = 'B';
  p[1] = 'M';
  PutU32(p + 2, static_cast<std::uint32_t>(file.size()));
  PutU32(p + 10, kFileHeaderSize + kInfoHeaderSize);
  unsigned char* info = p + kFileHeaderSize;
  PutU32(info, kInfoHeaderSize);
  PutU32(info + 4, static_cast<std::uint32_t>(width));
  PutU32(info + 8, static_cast<std::uint32_t>(height));
  PutU16(info + 12, 1);
  PutU16(info + 14, 24);
  PutU32(info + 20, static_cast<std::uint32_t>(pixelBytes));
  unsigned char* pixels = info + kInfoHeaderSize;
  for (int row = 0; row < height; ++row) {
    const std::uint32_t* src = argb + static_cast<std::size_t>(height - 1 - row) * width;
    unsigned char* dst = pixels + pitch * row;
    for (int x = 0; x < width; ++x) {
      dst[3 * x] = static_cast<unsigned char>(src[x]);
      dst[3 * x + 1] = static_cast<unsigned char>(src[x] >> 8);
      dst[3 * x + 2] = static_cast<unsigned char>(src[x] >> 16);
    }
  }
  std::FILE* out = std::fopen(path, "wb");
  if (out == nullptr) return false;
  const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
  return std::fclose(out) == 0 && written;
}
