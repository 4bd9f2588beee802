#include "ui/skin_link.h"

#include "engine/skin_sheet.h"

UiSkinCalls UiSkin = {DrawRegionStretched, DrawThickLine, DrawArcFan};

namespace {
const SkinSheet* linkedSheet = nullptr;
}  // namespace

void UiLinkSkin(const SkinSheet* sheet) {
  linkedSheet = sheet;
}

SkinRegion UiRegionSize(int region) {
  SkinRegion size = {0, 0, 0, 0};
  if (!linkedSheet || !linkedSheet->regions) return size;
  if (region < 0 || region >= linkedSheet->regionCount) return size;
  size.w = linkedSheet->regions[region].w;
  size.h = linkedSheet->regions[region].h;
  return size;
}
