// Feeds arbitrary bytes to the PNG decoder that Texture_Load uses, without a GL context.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/png_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!IsPng(data, size)) return 0;
  ImageArgb image;
  if (!DecodePng(data, size, &image)) return 0;
  if (image.width <= 0 || image.height <= 0 || image.width > kMaxImageSide ||
      image.height > kMaxImageSide) {
    std::abort();
  }
  if (image.pixels.size() != static_cast<std::size_t>(image.width) * image.height) std::abort();
  volatile std::uint32_t last = image.pixels.back();
  (void)last;
  return 0;
}
