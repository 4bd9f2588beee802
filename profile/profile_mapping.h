#pragma once
// The translations between the profile records of ProfileSet and the working state behind the
// controls (profile/profile_state.h), and between the working state and the widgets
// (profile/profile_controls.h). Only the edited fields of a record are touched: slots 4..24,
// the two angles, the level and the low nibble of byte 0; every other byte stays as it was.

// Reads record `profile` (0..2) of ProfileSet into that profile's saved state, then shows the
// current profile again without capturing it: edits of the current profile that were not
// captured are dropped. Codes outside the tables read as no action; the level is kept as the
// word of the choice it shows (0, 0x4040 or 0x7F7F).
void ProfileToControls(int profile);

// Writes the saved state of `profile` (0..2) back into its record: each edited slot gets the
// code and parameter of its action (code 0 and parameter 0 for none; parameter 0 always for
// slots 4 and 5), then the two angles, the level and the lights. It does not read the widgets:
// capture them first with ShowProfile(CurrentProfile, true).
void ControlsToProfile(int profile);

// With `save`, first captures the controls into the saved state of ShownProfile (actions of
// controls 0..18, the lights and the level from the widgets). Then shows `profile` (0..2):
// its actions, settings, light checks and level dots, every label placed, and, on the main
// screen, the slider at its angles limited to 0..135 degrees. The hidden entries of slots 4
// and 5 are never copied either way.
void ShowProfile(int profile, bool save);

// With `read`, takes the slider's two angles into the working angles (record units, truncated
// toward zero). Then, on the main screen or when `force` is set, puts the slider at the working
// angles limited to 0..135 degrees.
void SliderToSettings(bool read, bool force);
