// Feeds arbitrary bytes to the bitmap decoder that Texture_Load uses, without a GL context.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/bmp_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ImageArgb image;
  if (!DecodeBmp(data, size, &image)) return 0;
  if (!IsBmp(data, size)) std::abort();
  if (image.width <= 0 || image.height <= 0 || image.width > kMaxImageSide ||
      image.height > kMaxImageSide) {
    std::abort();
  }
  if (image.pixels.size() != static_cast<std::size_t>(image.width) * image.height) std::abort();
  // A decoded image never holds more pixels than the data could carry at three bytes each.
  if (image.pixels.size() > size / 3) std::abort();
  return 0;
}
