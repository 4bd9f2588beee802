#include "app/window_drag.h"

#include "engine/drag_areas.h"

DragStep UpdateWindowDrag(WindowDrag* drag, const DragBand& band, bool buttonDown, int mouseX,
                          int mouseY, int cursorX, int cursorY) {
  const bool pressStarted = buttonDown && !drag->previousButton;
  drag->previousButton = buttonDown;
  DragStep step;
  if (!buttonDown) {
    drag->active = false;
    return step;
  }
  if (pressStarted) {
    // Only a press that begins on the band drags: one that starts lower and slides up must not.
    drag->active = DragAreasHold(band.areas, band.count, mouseX, mouseY);
    drag->grabX = mouseX;
    drag->grabY = mouseY;
  }
  step.bandPress = drag->active;
  // Measured from the cursor on the screen, not the pointer in the window, so that a pointer
  // that runs ahead of the window (a fast hand, a remote desktop's big steps) keeps the drag.
  if (drag->active && !band.movedBySystem && !pressStarted) {
    step.move = true;
    step.left = cursorX - drag->grabX;
    step.top = cursorY - drag->grabY;
  }
  return step;
}
