#pragma once
// Art for screens of more than one physical pixel per pixel. A program carries an image at twice
// the size beside its image and registers the pair; Texture_Load of the image's bytes then
// loads the doubled one on a screen of scale 2. Where none is registered (or at another scale),
// the image is scaled up by repeating each pixel, so it stays sharp-edged rather than blurred.

#include <span>

#include "engine/png_codec.h"

// Registers `doubled` as the twice-as-large image of `image` (both PNG bytes, identified by the
// address of `image`); the bytes must stay valid while the engine may load them. Empty `doubled`
// forgets the pair.
void RegisterDoubledImage(std::span<const unsigned char> image,
                          std::span<const unsigned char> doubled);
// The doubled image registered for the bytes at `image`, or empty.
std::span<const unsigned char> DoubledImageOf(const void* image);

// Every pixel of `image` repeated `factor` times across and down.
ImageArgb NearestScaled(const ImageArgb& image, int factor);
