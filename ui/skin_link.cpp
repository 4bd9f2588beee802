#include "ui/skin_link.h"

#include "engine/skin_sheet.h"

UiSkinCalls UiSkin = {DrawRegionStretched, DrawThickLine, DrawArcFan};

namespace {
const SkinRegion* linkedRegions = nullptr;
int linkedCount = 0;
}  // namespace

void UiLinkSkin(const SkinRegion* regions, int regionCount) {
  linkedRegions = regions;
  linkedCount = regions ? regionCount : 0;
}

SkinRegion UiRegionSize(int region) {
  SkinRegion size = {0, 0, 0, 0};
  if (region < 0 || region >= linkedCount) return size;
  size.w = linkedRegions[region].w;
  size.h = linkedRegions[region].h;
  return size;
}
