#pragma once
// Drawing the main screen, once a frame between the begin and the end of the scene: background,
// static pictures, panels, the wheel, the light indicators, the clock slider, the palette and
// the controls' labels, then the overlay of the current AppState.

#include "app/frame_functions.h"

// The main screen's alpha in a state: full in states 1 to 6, half in 0, 7 and 8 upwards, where
// an overlay lies over it.
int MainScreenAlpha(int appState);

// What is drawn over the main screen in one AppState.
using StateOverlay = void (*)();
// One slot per AppState value. Slot 0 holds the no-receiver overlay. The preset dialog (7), the
// update overlay (8 to 10) and the error panel (11) go into their slots as they are built, and
// the dragged tile of the profile editing into the slots of states 1 to 6; an empty slot draws
// nothing.
extern StateOverlay StateOverlays[kAppStateCount];

// Draws the whole main screen through the carried skin sheet, which it binds first; nothing
// without the sheet.
void DrawMainScreen();

// The 21 palette tiles at `alpha`, then, unless AppState is 0 or 8 and above, each control's
// pointer and label at their places, also at `alpha`.
void DrawControlLabels(int alpha);

// As DrawControlLabels, with the pointers and labels pushed sideways by `progress` times 600
// pixels (truncated), those of the left-hand controls to the left and the others to the right,
// and drawn at full alpha.
void DrawSlidingLabels(int alpha, double progress);
