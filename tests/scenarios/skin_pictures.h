#pragma once
// Checks of screenshots against the carried skin atlas (assets/skin/skin.png): whether a skin
// region drawn at a place shows there, unscaled and opaque, or scaled like the clock slider's
// handles. Regions are given by their atlas rectangles, as the region table lists them.

#include <cstdint>
#include <vector>

#include "engine/png_codec.h"

struct AtlasRect {
  int x, y, w, h;
};

// A box of window pixels: x, y, w, h.
struct ShotBox {
  int x, y, w, h;
  bool Holds(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};

// The carried atlas, decoded once; empty when it cannot be read.
const ImageArgb& SkinAtlas();
// The atlas drawn at twice the pixels (assets/skin/skin@2x.png), decoded once.
const ImageArgb& DoubledSkinAtlas();

// How many opaque texels of `region`, drawn unscaled with its top-left at (x, y), the shot shows
// unchanged (within 1 a channel), and how many it should: texels inside `covers` (drawn over it
// later) or outside the shot do not count.
struct TexelCount {
  int shown = 0;
  int opaque = 0;
};
TexelCount CountShownTexels(const ImageArgb& shot, AtlasRect region, int x, int y,
                            const std::vector<ShotBox>& covers = {});

// The same on a screenshot of `scale` (1 or 2) physical pixels per pixel: the region's texels of
// the atlas drawn at that scale, at (x, y) times the scale. Region, place and covers are in
// pixels of the 1024 by 600 layout.
TexelCount CountShownTexelsAtScale(const ImageArgb& shot, int scale, AtlasRect region, int x, int y,
                                   const std::vector<ShotBox>& covers = {});

// The same for `region` stretched over `box`, sampled between texels as the graphics device
// does, within `tolerance` a channel; pixels whose four nearest texels are not all opaque, or
// that lie inside `covers`, do not count.
TexelCount CountShownStretched(const ImageArgb& shot, AtlasRect region, ShotBox box, int tolerance,
                               const std::vector<ShotBox>& covers = {});
