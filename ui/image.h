#pragma once
// UIImage: one skin region placed on screen by an anchor point and alignment bits. Buttons, check
// boxes and the clock slider are stacks of these; it is an element of a control, not a control.

#include <cstdint>

// Alignment bits: which point of the image the anchor names. HCENTER wins over RIGHT and VCENTER
// over BOTTOM; with no bit the anchor is the top-left corner.
enum ImageAlign : std::int32_t {
  ALIGN_HCENTER = 1,
  ALIGN_VCENTER = 2,
  ALIGN_RIGHT = 4,
  ALIGN_BOTTOM = 8
};

class UIImage {
 public:
  // An image of skin region `region` (-1 for none) at its region's size, anchored at (0, 0).
  explicit UIImage(int region = -1, int align = 0);

  // Anchors the image at (x, y) and recomputes where it is drawn.
  void Place(int x, int y);
  // Sets the drawn size and recomputes where it is drawn from the anchor.
  void Resize(int w, int h);
  // Draws the region stretched over the image's rectangle at alpha x factor, unless hidden or
  // without a region.
  void Draw(float factor) const;
  // Whether (x, y) hits the image: left <= x < left + w and top <= y <= top + h (the row below
  // the image counts, the column to its right does not).
  bool Contains(int x, int y) const;

  std::int32_t anchorX = 0, anchorY = 0;
  float alpha = 0.0f;  // 0 to 1
  std::int32_t region = -1;
  std::int32_t align = 0;
  bool hidden = false;
  std::int32_t left = 0, top = 0;
  std::int32_t w = 0, h = 0;
};
