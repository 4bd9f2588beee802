#pragma once
// Images decoded on a worker thread ahead of their Texture_Load, so that start-up can decode the
// carried art while the window opens and the splash plays; Texture_Load of the same bytes then
// only uploads the pixels. The decode runs off the main thread, the upload stays on it.

#include <cstddef>
#include <span>
#include <vector>

#include "engine/png_codec.h"

// Starts decoding the images (PNG bytes that stay valid until they are taken or forgotten) in
// order on a worker thread. Does nothing while an earlier set is still held.
void DecodeImagesAhead(const std::vector<std::span<const unsigned char>>& images);

// When exactly these bytes were handed to DecodeImagesAhead and decoded, moves their pixels into
// image and returns true, waiting for the worker to get to them if needed. Each image is handed
// out once; false for bytes that were not handed over, were taken already or did not decode.
bool TakeDecodedImage(const void* bytes, std::size_t size, ImageArgb* image);

// Waits for the worker and drops every image not taken.
void ForgetDecodedImages();
