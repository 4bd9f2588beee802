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

// Region numbers the screens draw by. Buttons have a normal, a pressed and a hover image; check
// boxes an unchecked, a checked and a hover image.

// Window buttons.
constexpr int kRegionInfoNormal = 0;
constexpr int kRegionInfoPressed = 1;
constexpr int kRegionInfoHover = 2;
constexpr int kRegionCloseNormal = 15;
constexpr int kRegionClosePressed = 16;
constexpr int kRegionCloseHover = 17;
constexpr int kRegionQuestionNormal = 25;
constexpr int kRegionQuestionPressed = 26;
constexpr int kRegionQuestionHover = 27;
constexpr int kRegionMinimiseNormal = 35;
constexpr int kRegionMinimisePressed = 36;
constexpr int kRegionMinimiseHover = 37;

// The profile bar.
constexpr int kRegionAssignPressed = 3;
constexpr int kRegionAssignHover = 4;
constexpr int kRegionAssignNormal = 5;
constexpr int kRegionClearMapPressed = 12;
constexpr int kRegionClearMapHover = 13;
constexpr int kRegionClearMapNormal = 14;
constexpr int kRegionFrontLightUnchecked = 20;
constexpr int kRegionFrontLightHover = 21;
constexpr int kRegionFrontLightChecked = 22;
constexpr int kRegionLightOn = 24;  // green tick, 21 by 20
constexpr int kRegionLoadPressed = 31;
constexpr int kRegionLoadHover = 32;
constexpr int kRegionLoadNormal = 33;
constexpr int kRegionPresetsPressed = 52;
constexpr int kRegionPresetsHover = 53;
constexpr int kRegionPresetsNormal = 54;
constexpr int kRegionLevelDotHover = 56;
constexpr int kRegionLevelDotUnchecked = 57;
constexpr int kRegionLevelDotChecked = 58;
constexpr int kRegionRearLightUnchecked = 59;
constexpr int kRegionRearLightHover = 60;
constexpr int kRegionRearLightChecked = 61;
constexpr int kRegionLightOff = 62;  // red cross, 21 by 20
constexpr int kRegionResetPressed = 64;
constexpr int kRegionResetHover = 65;
constexpr int kRegionResetNormal = 66;
constexpr int kRegionSavePressed = 68;
constexpr int kRegionSaveHover = 69;
constexpr int kRegionSaveNormal = 70;

// The profile discs: unchecked, then checked (also the hover image).
constexpr int kRegionDisc1Unchecked = 43;
constexpr int kRegionDisc1Checked = 44;
constexpr int kRegionDisc2Unchecked = 45;
constexpr int kRegionDisc2Checked = 46;
constexpr int kRegionDisc3Unchecked = 47;
constexpr int kRegionDisc3Checked = 48;

// The clock slider: a tyre, 53 by 53, for the hub and both handles.
constexpr int kRegionTyre = 71;

// Static pictures of the main screen.
constexpr int kRegionBackgroundStrip = 6;  // 266 by 600, repeated across the window
constexpr int kRegionBottomBar = 8;
constexpr int kRegionDragAndDropWord = 19;
constexpr int kRegionButtonCloseUp = 30;
constexpr int kRegionProductLogo = 34;
constexpr int kRegionProfilesWord = 55;
constexpr int kRegionGearCloseUp = 67;
constexpr int kRegionWheel = 109;
constexpr int kRegionWheelCover = 110;  // drawn over the clock slider

// The no-receiver overlay.
constexpr int kRegionNoReceiverNotice = 38;
constexpr int kRegionNoReceiverFooter = 108;

// The update overlay's picture.
constexpr int kRegionUpdatePicture = 107;

// Dialog buttons.
constexpr int kRegionCancelNormal = 9;
constexpr int kRegionCancelPressed = 10;
constexpr int kRegionCancelHover = 11;
constexpr int kRegionOkNormal = 39;
constexpr int kRegionOkPressed = 40;
constexpr int kRegionOkHover = 41;
