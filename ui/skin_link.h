#pragma once
// How the toolkit reaches the skin sheet: the region sizes that new images take, and the three
// drawing calls the controls make. Start-up links the sheet right after creating it, before any
// control is built.

#include <cstdint>

#include "engine/skin_sheet.h"

// Makes the skin sheet's region table (SkinSheet::regions, kept by pointer) the one that sizes new
// images; null unlinks it.
void UiLinkSkin(const SkinRegion* regions, int regionCount);

// The width and height of a skin region of the linked sheet; 0 by 0 for region -1, a region the
// table does not have, or when no sheet is linked.
SkinRegion UiRegionSize(int region);

// The drawing calls the controls make, normally the skin sheet's own functions. Tests point them
// at a recorder to see what a control would draw.
struct UiSkinCalls {
  void (*drawRegionStretched)(int region, int x, int y, int w, int h, int alpha);
  void (*drawThickLine)(int x1, int y1, int x2, int y2, int halfWidth, std::uint32_t colour);
  void (*drawArcFan)(int cx, int cy, int radius, float angleA, float angleB, int alpha,
                     int reverse);
};

extern UiSkinCalls UiSkin;
