#include "ui/image.h"

#include "ui/pixels.h"
#include "ui/skin_link.h"

namespace {
constexpr float kOpaque = 1.0f;
constexpr float kAlphaScale = 255.0f;

// Halving rounds down, also for a negative size.
int FloorHalf(int v) {
  return v >> 1;
}

int AlignedStart(int anchor, int size, int align, int centreBit, int endBit) {
  if (align & centreBit) return anchor - FloorHalf(size);
  if (align & endBit) return anchor - size;
  return anchor;
}
}  // namespace

UIImage::UIImage(int imageRegion, int imageAlign) : region(imageRegion), align(imageAlign) {
  if (region == -1) return;
  alpha = kOpaque;
  const SkinRegion size = UiRegionSize(region);
  w = size.w;
  h = size.h;
}

void UIImage::Place(int x, int y) {
  anchorX = x;
  anchorY = y;
  left = AlignedStart(x, w, align, ALIGN_HCENTER, ALIGN_RIGHT);
  top = AlignedStart(y, h, align, ALIGN_VCENTER, ALIGN_BOTTOM);
}

void UIImage::Resize(int newW, int newH) {
  w = newW;
  h = newH;
  Place(anchorX, anchorY);
}

void UIImage::Draw(float factor) const {
  if (hidden || region == -1) return;
  UiSkin.drawRegionStretched(region, left, top, w, h, TruncToInt(alpha * kAlphaScale * factor));
}

bool UIImage::Contains(int x, int y) const {
  return x >= left && x < left + w && y >= top && y <= top + h;
}
