#include "profile/profile_mapping.h"

#include <cassert>

#include "common/app_state.h"
#include "common/log.h"
#include "profile/action_codes.h"
#include "profile/profile_controls.h"
#include "profile/profile_set.h"
#include "profile/profile_state.h"

namespace {

// Slots 0..3 are never edited; slots 4 and 5 ride along in the hidden entries.
constexpr int kFirstEditedSlot = 4;
constexpr int kLowNibble = 0x0F;
constexpr int kHighNibble = 0xF0;

bool IsProfile(int profile) {
  return profile >= 0 && profile < kProfileCount;
}

bool IsHiddenSlot(int slot) {
  return slot == 4 || slot == 5;
}

// The installed widgets. Start-up installs them before the screen is built; a missing one is a
// wiring fault that leaves the screen out of step with the profile, so it is never silent.
ProfileControls* Controls() {
  ProfileControls* controls = CurrentProfileControls();
  assert(controls != nullptr && "install the profile controls before showing a profile");
  if (controls == nullptr) Log("No profile controls: the widgets do not show the profile");
  return controls;
}

void CaptureShownProfile(const ProfileControls* controls) {
  std::int32_t* row = ProfileActionRows[ShownProfile];
  for (int control = 0; control < kWheelControlCount; ++control)
    row[control] = ControlActions[control];
  if (controls != nullptr) {
    WorkingSettings.lightFlags =
        (controls->Checked(ProfileCheck::kRearLight) ? kRearLightBits : 0) |
        (controls->Checked(ProfileCheck::kFrontLight) ? kFrontLightBits : 0);
    if (controls->Checked(ProfileCheck::kMed)) {
      WorkingSettings.level = kLevelMed;
    } else if (controls->Checked(ProfileCheck::kHigh)) {
      WorkingSettings.level = kLevelHigh;
    } else {
      WorkingSettings.level = kLevelLow;
    }
  }
  ProfileSettings[ShownProfile] = WorkingSettings;
}

void ShowSettings(ProfileControls& controls) {
  controls.SetChecked(ProfileCheck::kRearLight, (WorkingSettings.lightFlags & kRearLightBits) != 0);
  controls.SetChecked(ProfileCheck::kFrontLight,
                      (WorkingSettings.lightFlags & kFrontLightBits) != 0);
  const Level level = LevelFromWord(static_cast<std::uint16_t>(WorkingSettings.level));
  controls.SetChecked(ProfileCheck::kLow, level == Level::kLow);
  controls.SetChecked(ProfileCheck::kMed, level == Level::kMed);
  controls.SetChecked(ProfileCheck::kHigh, level == Level::kHigh);
}

void PutSliderAtWorkingAngles(ProfileControls& controls) {
  controls.SetSliderAngles(AngleToDegrees(WorkingSettings.angleA),
                           AngleToDegrees(WorkingSettings.angleB));
}

}  // namespace

void ProfileToControls(int profile) {
  assert(IsProfile(profile));
  if (!IsProfile(profile)) return;
  const WheelProfile& record = ProfileSet[profile];
  for (int slot = kFirstEditedSlot; slot < kSlotCount; ++slot) {
    ProfileActionRows[profile][SlotControlTable[slot]] =
        CodeActionTable(SlotCode(record, slot), SlotParam(record, slot));
  }
  // The working level only ever holds the word of a choice, so that a profile written back
  // without being shown stores exactly 0, 0x4040 or 0x7F7F like one that was.
  ProfileSettings[profile] = {AngleA(record), AngleB(record),
                              LevelToWord(LevelFromWord(LevelWord(record))),
                              record.bytes[kLightFlagsOffset] & kLowNibble};
  ShowProfile(CurrentProfile, false);
}

void ControlsToProfile(int profile) {
  assert(IsProfile(profile));
  if (!IsProfile(profile)) return;
  WheelProfile& record = ProfileSet[profile];
  const std::int32_t* row = ProfileActionRows[profile];
  for (int slot = kFirstEditedSlot; slot < kSlotCount; ++slot) {
    const ActionCode written = ActionToCode(row[SlotControlTable[slot]]);
    SetSlot(record, slot, written.code, IsHiddenSlot(slot) ? 0 : written.param);
  }
  const ProfileSettingValues& saved = ProfileSettings[profile];
  SetAngleB(record, saved.angleB);
  SetAngleA(record, saved.angleA);
  SetLevel(record, LevelFromWord(static_cast<std::uint16_t>(saved.level)));
  std::uint8_t& lights = record.bytes[kLightFlagsOffset];
  lights = static_cast<std::uint8_t>((lights & kHighNibble) | (saved.lightFlags & kLowNibble));
}

void ShowProfile(int profile, bool save) {
  assert(IsProfile(profile));
  if (!IsProfile(profile)) return;
  ProfileControls* controls = Controls();
  if (save && IsProfile(ShownProfile)) CaptureShownProfile(controls);
  ShownProfile = profile;
  for (int control = 0; control < kWheelControlCount; ++control) {
    ControlActions[control] = ProfileActionRows[profile][control];
  }
  WorkingSettings = ProfileSettings[profile];
  if (controls != nullptr) ShowSettings(*controls);
  for (int control = 0; control < kWheelControlCount; ++control) {
    PlaceLabel(control, ControlActions[control]);
  }
  if (AppState == APP_MAIN_SCREEN && controls != nullptr) PutSliderAtWorkingAngles(*controls);
}

void SliderToSettings(bool read, bool force) {
  ProfileControls* controls = Controls();
  if (controls == nullptr) return;
  if (read) {
    double angle1 = 0;
    double angle2 = 0;
    controls->SliderAngles(&angle1, &angle2);
    WorkingSettings.angleA = DegreesToAngle(angle1);
    WorkingSettings.angleB = DegreesToAngle(angle2);
  }
  if (AppState == APP_MAIN_SCREEN || force) PutSliderAtWorkingAngles(*controls);
}
