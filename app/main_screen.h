#pragma once
// The main screen's four panels, which the rest of the program reaches directly, and the screen's
// drawing and enabling. Each panel is null until the main screen has been built.

#include "ui/panel.h"

// Quit, minimise, support and about: the only panel that takes input without a receiver.
extern UIPanel* WindowButtonsPanel;
// Clear, assign, reset, the two lights, the level, and load, save and presets.
extern UIPanel* ProfileBarPanel;
// The three profile discs.
extern UIPanel* ProfileSelectionPanel;
// The clock slider.
extern UIPanel* SliderPanel;

// Draws the main screen's panels: the profile selection, window-buttons and profile bar panels,
// then, in states 1 to 7, the slider panel.
void DrawMainScreen();

// Enables (1) or disables (0) the profile selection, profile bar and slider panels, in that
// order, keeping them visible; other values do nothing.
void SetMainPanelsEnabled(int on);
