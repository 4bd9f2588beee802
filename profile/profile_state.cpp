#include "profile/profile_state.h"

#include <algorithm>

#include "profile/action_tiles.h"

std::int32_t ControlActions[kControlEntryCount] = {};
std::int32_t ProfileActionRows[kProfileCount][kControlEntryCount] = {};
std::int32_t ShownProfile = 0;
ProfileSettingValues WorkingSettings = {};
ProfileSettingValues ProfileSettings[kProfileCount] = {};
LabelRect ControlLabelRect[kWheelControlCount] = {};
HeldProfiles ReceiverHeldProfiles;

namespace {

constexpr ProfileSettingValues kEmptySettings = {0, 32767, kLevelLow, 0};
constexpr LabelRect kNoLabel = {-1, -1, -1, -1};

bool IsEmpty(const LabelRect& rect) {
  return rect.left == -1 && rect.top == -1 && rect.right == -1 && rect.bottom == -1;
}

}  // namespace

void InitProfileState() {
  for (auto& row : ProfileActionRows) std::fill(std::begin(row), std::end(row), kNoAction);
  std::fill(std::begin(ControlActions), std::end(ControlActions), kNoAction);
  std::fill(std::begin(ProfileSettings), std::end(ProfileSettings), kEmptySettings);
  WorkingSettings = kEmptySettings;
  std::fill(std::begin(ControlLabelRect), std::end(ControlLabelRect), kNoLabel);
  ShownProfile = 0;
  ReceiverHeldProfiles.known = false;
}

void PlaceLabel(int control, int action) {
  if (control < 0 || control >= kWheelControlCount) return;
  const ActionTile* tile = FindActionTile(action);
  if (tile == nullptr) {
    ControlLabelRect[control] = kNoLabel;
    return;
  }
  const WindowPoint label = PlaceLabelBeside(control, tile->w, tile->h).label;
  ControlLabelRect[control] = {label.x, label.y, label.x + tile->w, label.y + tile->h};
}

int FindLabelAt(int x, int y) {
  for (int control = 0; control < kWheelControlCount; ++control) {
    const LabelRect& rect = ControlLabelRect[control];
    if (IsEmpty(rect)) continue;
    if (x >= rect.left && x <= rect.right && y >= rect.top && y <= rect.bottom) return control;
  }
  return kNoControl;
}
