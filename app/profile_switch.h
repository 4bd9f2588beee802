#pragma once
// The animated switch from one profile to another: in AppState 5 the slider's handles ease to 90
// degrees while the labels slide out; half-way the chosen profile becomes current and is shown;
// in AppState 4 the handles ease to its angles while the labels bounce back; then AppState 6.

#include "ui/tween.h"

// How far the controls' labels have slid out during the switch: 0 outside it, 1 when they are
// furthest out, 600 pixels beside their places. The main screen's drawing reads it.
extern double LabelSlideProgress;

// The profile the switch goes to, 0..2.
extern int RequestedProfile;

// The switch's three tweens: the slider's first and second angle, and LabelSlideProgress.
struct SlideAnimation {
  Tween angle1;
  Tween angle2;
  Tween progress;
};
extern SlideAnimation ProfileSlide;

// Starts the switch to `profile` (0..2) from the slider's present angles: AppState 5.
void StartProfileSwitch(int profile);

// One frame of the switch (AppState 5 and 4): moves the labels and the slider a step on. At the
// end of the first half it captures the old profile and shows the new one (AppState 4); at the end
// of the second it puts the slider exactly on the profile's angles (AppState 6). No widget takes
// input meanwhile; a press begun now is ignored until it is released. Returns 0.
int AnimationStep();

// Whether a switch has started and not reached AppState 6 through its own end.
bool ProfileSwitchUnfinished();

// Ends at once a switch that another screen cut off (the firmware update, when the receiver came
// back out of date half-way through): the requested profile becomes current and shown if it was
// not yet, the labels stand in place and the slider at its angles.
void CompleteProfileSwitch();

// Drops a switch without showing anything, for a screen being built or torn down.
void ForgetProfileSwitch();
