#pragma once
// Dragging an action: from a palette tile or from a control's label onto a control of the wheel
// picture, with the dragged tile floating under the pointer until the button is released.

#include <cstdint>

#include "ui/image.h"

struct DragState {
  bool active = false;
  bool fromPalette = false;         // else it started on a control's label
  std::int32_t sourceControl = -1;  // the control whose label was picked up
  std::int32_t action = -1;         // the action being dragged
  UIImage floatingTile;             // the action's tile, centred on the pointer
};

// The drag of the main screen; not active outside a drag.
extern DragState Drag;

// Picks up what lies at (x, y): a palette tile first, else a control's label. False, and no drag,
// when neither is there.
bool StartDrag(int x, int y);

// Moves the floating tile with the pointer.
void MoveDrag(int x, int y);

// Ends the drag at (x, y). Over a control, the control takes the dragged action and loses what it
// held (no swap); a label's own control becomes empty unless it is the target. A label dropped
// elsewhere at y >= 464 (the bottom bar) is removed; any other drop changes nothing.
void DropDrag(int x, int y);

// Ends the drag without dropping anything.
void CancelDrag();

// Draws the floating tile while a drag is active.
void DrawDraggedTile();
