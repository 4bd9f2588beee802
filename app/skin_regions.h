#pragma once
// The table that cuts the 2048 by 1024 skin atlas into its 112 numbered regions, the three
// nine-slice frames cut from it, and names for the region numbers the program draws by.

#include "engine/skin_sheet.h"

constexpr int kSkinRegionCount = 112;
extern const SkinRegion kSkinRegions[kSkinRegionCount];

// Regions the frames are cut from, and the frames.
constexpr int kRegionFrameLarge = 18;  // 60 by 60, 20-pixel cells
constexpr int kRegionFrameSmall = 28;  // 30 by 30, 10-pixel cells
constexpr int kRegionFrameSmallAlt = 29;

constexpr int kSkinFrameCount = 3;
constexpr int kFrameLarge = 0;
constexpr int kFrameSmall = 1;
constexpr int kFrameSmallAlt = 2;

struct SkinFrameDefinition {
  int frame;
  int region;
  int cellSize;
};
constexpr SkinFrameDefinition kSkinFrames[kSkinFrameCount] = {
    {kFrameLarge, kRegionFrameLarge, 20},
    {kFrameSmall, kRegionFrameSmall, 10},
    {kFrameSmallAlt, kRegionFrameSmallAlt, 10},
};

// Button images come in threes: normal, pressed, hover.
constexpr int kRegionInfoNormal = 0;
constexpr int kRegionBackgroundStrip = 6;
constexpr int kRegionBottomBar = 8;
constexpr int kRegionCancelNormal = 9;
constexpr int kRegionCloseNormal = 15;
constexpr int kRegionDragAndDropWord = 19;
constexpr int kRegionQuestionNormal = 25;
constexpr int kRegionButtonCloseUp = 30;
constexpr int kRegionProductLogo = 34;
constexpr int kRegionMinimiseNormal = 35;
constexpr int kRegionOkNormal = 39;
constexpr int kRegionProfilesWord = 55;
constexpr int kRegionGearCloseUp = 67;
constexpr int kRegionWheel = 109;
constexpr int kRegionSliderOverlay = 110;
