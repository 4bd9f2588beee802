#pragma once
// The band at the top of the window by which the user drags it: the top rows, less every widget
// that lies there and every place the slider's handles can reach there.

#include "engine/engine.h"

// Rows from the top of the window that drag it.
inline constexpr int kDragBandHeight = 60;
inline constexpr int kDragBandWidth = 1024;

// Writes the band as drag areas (the band, then its holes) from the built main screen; without
// one, the whole band. Returns the count, at most `capacity` (areas beyond it are left out,
// holes last, so a full list only ever drags less).
int BuildDragBand(DragArea* areas, int capacity);

// WindowDragBand := the band of the main screen as it is built now (the whole band without one).
// Building and releasing the screen do this.
void TakeDragBandFromScreen();
// Hands WindowDragBand to the window system; where that cannot move the window, the frame
// function goes on moving it itself.
void InstallDragBand(Engine& engine);
