#pragma once
// The main screen's per-frame input (AppState 6): widget events for its four panels, and the drag
// and drop of actions onto the wheel's controls.

// One frame of the main screen with the frame's pointer and button: a drag in progress follows
// the pointer and is dropped on release; otherwise the four panels get the frame's event, and a
// press that none of them takes picks up a palette tile or a label. Drags (tiles, labels, slider
// handles) start only on the frame a press begins; while a handle is dragged only the slider
// sees the frames, its release included, which takes its angles into the shown profile. Returns -1 once quit was requested, 1 while a widget
// or a drag holds the press, else 0.
int MainScreenInput();

// Called by the profile switch on each of its frames: the button state is followed, and a press
// made during the switch reaches nothing, even once the switch is over, until it is released.
void IgnorePressDuringSwitch();

// Puts the main screen's handlers into the shell's slots (MainScreenInput for state 6,
// AnimationStep for 5 and 4) and the dragged tile into the overlays of states 1 to 6. Building
// the main screen does this.
void InstallMainScreenHandlers();
// Empties those slots again.
void RemoveMainScreenHandlers();
