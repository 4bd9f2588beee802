#pragma once
// Dragging the borderless window by its top band. The window system moves the window where it
// can (the engine hands it the band); a press on the band is then never seen here. Elsewhere the
// program follows the press itself. Either way a press that begins on the band belongs to the
// band until it is released: no widget sees it, wherever the pointer goes.

#include "engine/engine.h"

// The band and how the window moves by it.
struct DragBand {
  DragArea areas[kMaxDragAreas] = {};
  int count = 0;
  bool movedBySystem = false;  // the window system moves the window: the program does not
};

// Where one press on the band stands between frames.
struct WindowDrag {
  bool previousButton = false;  // button state of the previous frame
  bool active = false;          // the press began on the band and is still held
  int grabX = 0;                // where in the window the press began
  int grabY = 0;
};

// What a frame does with the window.
struct DragStep {
  bool bandPress = false;  // the frame's press belongs to the band: the widgets must not see it
  bool move = false;       // the window goes to (left, top)
  int left = 0;
  int top = 0;
};

// One frame with the left button, the pointer in the window and the system cursor on the screen.
// A press that begins on the band holds it until release; while it does, the window keeps the
// place in it where the press began under the cursor (unless the window system moves it).
DragStep UpdateWindowDrag(WindowDrag* drag, const DragBand& band, bool buttonDown, int mouseX,
                          int mouseY, int cursorX, int cursorY);
