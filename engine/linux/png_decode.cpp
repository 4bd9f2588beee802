#include "engine/png_codec.h"

#include <png.h>

#include <cstdio>
#include <cstring>

#include "engine/own_file.h"

bool DecodePng(const void* bytes, std::size_t size, ImageArgb* image) {
  if (!IsPng(bytes, size)) return false;
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&png, bytes, size)) return false;
  if (png.width == 0 || png.height == 0 || png.width > kMaxImageSide ||
      png.height > kMaxImageSide) {
    png_image_free(&png);
    return false;
  }
  // BGRA bytes in memory are ARGB words on a little-endian machine.
  png.format = PNG_FORMAT_BGRA;
  image->width = static_cast<int>(png.width);
  image->height = static_cast<int>(png.height);
  image->pixels.assign(static_cast<std::size_t>(png.width) * png.height, 0);
  if (!png_image_finish_read(&png, nullptr, image->pixels.data(), 0, nullptr)) {
    png_image_free(&png);
    *image = ImageArgb{};
    return false;
  }
  return true;
}

bool WritePng(const char* path, int width, int height, const std::uint32_t* argb) {
  if (path == nullptr || argb == nullptr || width <= 0 || height <= 0) return false;
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(width);
  png.height = static_cast<png_uint_32>(height);
  png.format = PNG_FORMAT_BGRA;
  std::FILE* file = OpenOwnFileForWriting(path, false);
  if (file == nullptr) return false;
  const bool written = png_image_write_to_stdio(&png, file, 0, argb, 0, nullptr) != 0;
  return std::fclose(file) == 0 && written;
}
