#pragma once
// The areas by which the user drags the window, as the window system's hit test and the
// program's own drag both read them.

#include "engine/engine.h"

// A fixed copy of the areas with the logical size they are measured in.
struct DragRegion {
  DragArea areas[kMaxDragAreas] = {};
  int count = 0;
  int logicalWidth = 0;
  int logicalHeight = 0;
};

// Whether (x, y) drags the window: the last of the areas that holds the point decides, and a
// point no area holds does not.
bool DragAreasHold(const DragArea* areas, int count, int x, int y);

// (x, y) in window coordinates of a window `windowWidth` by `windowHeight` taken to the region's
// logical pixels: a window drawn larger than its logical size scales its areas with it.
void ToLogicalPixels(const DragRegion& region, int windowWidth, int windowHeight, int* x, int* y);
