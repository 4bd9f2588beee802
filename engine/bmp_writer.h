#pragma once
// Windows bitmaps: screenshots are written as 24-bit bitmaps; uncompressed 24- and 32-bit bitmaps
// can be read back as textures.

#include <cstddef>
#include <cstdint>

#include "engine/png_codec.h"

// True when the bytes start with "BM".
bool IsBmp(const void* bytes, std::size_t size);
// Decodes an uncompressed 24- or 32-bit bitmap (bottom-up or top-down); false for anything else
// or for data that is cut short. 24-bit pixels come out opaque.
bool DecodeBmp(const void* bytes, std::size_t size, ImageArgb* image);
// Writes the pixels (rows top first, pitch = width) as a 24-bit bottom-up bitmap file.
bool WriteBmp(const char* path, int width, int height, const std::uint32_t* argb);
