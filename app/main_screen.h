#pragma once
// The main screen's widgets: four panels and the widgets the rest of the program reaches
// directly, built once at start-up and released at tear-down, and the enabling of its controls as
// the receiver comes and goes. Every global is null until the screen is built.

#include "ui/check.h"
#include "ui/clock_slider.h"
#include "ui/panel.h"

// Quit, minimise, support and about: the only panel that takes input without a receiver.
extern UIPanel* WindowButtonsPanel;
// Clear, assign, reset, the two lights, the level, and load, save and presets.
extern UIPanel* ProfileBarPanel;
// The three profile discs.
extern UIPanel* ProfileSelectionPanel;
// The clock slider.
extern UIPanel* SliderPanel;

// The light checks of the profile bar.
extern UICheck* RearLightCheck;
extern UICheck* FrontLightCheck;
// The three dots of the level.
extern UICheck* LevelLowCheck;
extern UICheck* LevelMedCheck;
extern UICheck* LevelHighCheck;
// The clock slider of the two angles.
extern UIClockSlider* AngleSlider;

// Builds the four panels and their widgets (the skin sheet must be linked), empties the profile
// working state, chooses profile 1 and puts the screen's input handlers and dragged-tile overlay
// into the shell's slots. With a receiver connected it shows profile 1; without one it leaves the
// no-receiver state (AppState 0, returning to 6) with the profile selection, profile bar and
// slider panels disabled but visible. The profile controls must be installed.
void BuildMainScreen();

// Only while AppState is below 8: with 0 saves the state to return to, enters the no-receiver
// state and disables the profile selection, profile bar and slider panels (keeping them
// visible), dropping a tile being dragged; with 1 returns to the saved state (a profile switch
// pulled half-way then runs on to its end), enables the three panels and puts the slider at the
// shown profile's angles. Other values do nothing.
void SetControlsEnabled(int on);

// Empties the screen's slots in the shell, destroys the four panels with their widgets and
// forgets every global above.
void ReleaseMainScreen();
