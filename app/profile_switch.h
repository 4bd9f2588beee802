#pragma once
// The animated switch from one profile to another (AppState 6, 5, 4, then 6 again).

// How far the controls' labels have slid out during the switch: 0 outside it, 1 when they are
// furthest out, 600 pixels beside their places. The main screen's drawing reads it.
extern double LabelSlideProgress;
