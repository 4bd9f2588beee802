#include "engine/png_codec.h"

#include <cstring>

namespace {
constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
}  // namespace

bool IsPng(const void* bytes, std::size_t size) {
  return bytes != nullptr && size >= sizeof kSignature &&
         std::memcmp(bytes, kSignature, sizeof kSignature) == 0;
}
