#pragma once
// The identifiers of the main screen's widgets; the callbacks tell the widgets apart by them.

// The window-buttons panel.
constexpr int kCloseButtonId = 1;
constexpr int kMinimiseButtonId = 2;
constexpr int kSupportButtonId = 3;
constexpr int kAboutButtonId = 4;

// The profile bar panel.
constexpr int kClearMapButtonId = 11;
constexpr int kAssignButtonId = 12;
constexpr int kResetButtonId = 13;
constexpr int kRearLightCheckId = 21;
constexpr int kFrontLightCheckId = 22;
constexpr int kLevelLowCheckId = 31;
constexpr int kLevelMedCheckId = 32;
constexpr int kLevelHighCheckId = 33;
constexpr int kLoadButtonId = 101;
constexpr int kSaveButtonId = 102;
constexpr int kPresetsButtonId = 103;

// The profile selection panel: a disc's identifier minus 21 is its profile index.
constexpr int kProfileDisc1Id = 21;
constexpr int kProfileDisc2Id = 22;
constexpr int kProfileDisc3Id = 23;

// The slider panel.
constexpr int kClockSliderId = 0;

// Radio groups carry no identifier of their own.
constexpr int kRadioGroupId = -1;
