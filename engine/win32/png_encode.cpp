// Writing PNG files on Windows, where libpng is not carried: the format is small enough to write
// with zlib alone. Rows use filter 0 (none); zlib's compression does the rest.
#include <zlib.h>

#include <cstdio>
#include <vector>

#include "engine/own_file.h"
#include "engine/png_codec.h"

namespace {

constexpr unsigned char kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr unsigned char kBitDepth = 8;
constexpr unsigned char kColourTypeRgba = 6;

void PutBigEndian(std::vector<unsigned char>* out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out->push_back(static_cast<unsigned char>(value >> shift));
}

// Length, type, data and the CRC of type and data.
void PutChunk(std::vector<unsigned char>* out, const char* type,
              const std::vector<unsigned char>& data) {
  PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t typeAt = out->size();
  out->insert(out->end(), type, type + 4);
  out->insert(out->end(), data.begin(), data.end());
  const uLong crc = crc32(0L, out->data() + typeAt, static_cast<uInt>(data.size() + 4));
  PutBigEndian(out, static_cast<std::uint32_t>(crc));
}

// Each row as the filter byte 0 and R, G, B, A bytes.
std::vector<unsigned char> RawRows(int width, int height, const std::uint32_t* argb) {
  std::vector<unsigned char> raw;
  raw.reserve(static_cast<std::size_t>(height) * (1 + static_cast<std::size_t>(width) * 4));
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);
    for (int x = 0; x < width; ++x) {
      const std::uint32_t pixel = argb[static_cast<std::size_t>(y) * width + x];
      raw.push_back(static_cast<unsigned char>(pixel >> 16));
      raw.push_back(static_cast<unsigned char>(pixel >> 8));
      raw.push_back(static_cast<unsigned char>(pixel));
      raw.push_back(static_cast<unsigned char>(pixel >> 24));
    }
  }
  return raw;
}

bool Compress(const std::vector<unsigned char>& raw, std::vector<unsigned char>* packed) {
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  packed->resize(size);
  if (compress2(packed->data(), &size, raw.data(), static_cast<uLong>(raw.size()),
                Z_DEFAULT_COMPRESSION) != Z_OK) {
    return false;
  }
  packed->resize(size);
  return true;
}

}  // namespace

bool WritePng(const char* path, int width, int height, const std::uint32_t* argb) {
  if (path == nullptr || argb == nullptr || width <= 0 || height <= 0 || width > kMaxImageSide ||
      height > kMaxImageSide) {
    return false;
  }
  std::vector<unsigned char> header;
  PutBigEndian(&header, static_cast<std::uint32_t>(width));
  PutBigEndian(&header, static_cast<std::uint32_t>(height));
  header.insert(header.end(), {kBitDepth, kColourTypeRgba, 0, 0, 0});
  std::vector<unsigned char> packed;
  if (!Compress(RawRows(width, height, argb), &packed)) return false;

  std::vector<unsigned char> file(std::begin(kSignature), std::end(kSignature));
  PutChunk(&file, "IHDR", header);
  PutChunk(&file, "IDAT", packed);
  PutChunk(&file, "IEND", {});
  std::FILE* out = OpenOwnFileForWriting(path, false);
  if (out == nullptr) return false;
  const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
  return std::fclose(out) == 0 && written;
}
