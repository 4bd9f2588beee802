#pragma once
// The working state behind the profile's controls: the action on each control of the shown
// profile, a saved copy per profile, the settings in record units, and where each control's
// label stands. Edits live here until a save or an assign folds them back into ProfileSet.

#include <cstdint>

#include "profile/wheel_controls.h"
#include "profile/wheel_profile.h"

// The four settings of a profile in record units.
struct ProfileSettingValues {
  std::int32_t angleA;      // first slider angle, 242.71851851851852 units a degree
  std::int32_t angleB;      // second slider angle
  std::int32_t level;       // 0, 0x4040 or 0x7F7F
  std::int32_t lightFlags;  // low nibble of byte 0: rear light bits 0-1, front light bits 2-3
};

// A label's screen rectangle; all four -1 when the control has no action.
struct LabelRect {
  std::int32_t left, top, right, bottom;
};

// What the receiver held when the working state was read from it or written from it: whether
// its profile sector had the marker, and the three records as read (the factory ones without
// the marker). A receiver that comes back holding these has lost none of the working state.
struct HeldProfiles {
  bool known = false;  // false until a read or write, and again after InitProfileState
  bool stored = false;
  WheelProfile records[kProfileCount];
};

// The action (0..20, -1 none) of each control of the shown profile; entries 19 and 20 are the
// hidden slots 4 and 5.
extern std::int32_t ControlActions[kControlEntryCount];
// What the receiver held for the working state.
extern HeldProfiles ReceiverHeldProfiles;
// The saved copy of ControlActions of each profile.
extern std::int32_t ProfileActionRows[kProfileCount][kControlEntryCount];
// The profile whose values the controls show.
extern std::int32_t ShownProfile;
// The settings of the shown profile.
extern ProfileSettingValues WorkingSettings;
// The saved settings of each profile.
extern ProfileSettingValues ProfileSettings[kProfileCount];
// Where the label of each control 0..18 stands.
extern LabelRect ControlLabelRect[kWheelControlCount];

// Empties the working state: every action row and every control without an action, angles 0
// and 32767, level Low, both lights off, every label rectangle empty, profile 0 shown, and
// nothing known of what the receiver held.
void InitProfileState();

// Recomputes the label rectangle of `control` (0..18) for `action`: empty for -1 and for any
// value outside 0..20.
void PlaceLabel(int control, int action);

// The first control 0..18 whose label rectangle is not empty and holds (x, y), edges included;
// -1 when none does.
int FindLabelAt(int x, int y);
