#include "app/window_drag.h"

bool UpdateWindowDrag(WindowDrag* drag, bool buttonDown, int mouseY, int handlerResult, int cursorX,
                      int cursorY, int windowLeft, int windowTop, int* newLeft, int* newTop) {
  bool pressStarted = buttonDown && !drag->previousButton;
  drag->previousButton = buttonDown;
  if (!buttonDown || handlerResult != 0) {
    drag->active = false;
    return false;
  }
  if (pressStarted) {
    // Only a press that begins in the band drags: a press that starts lower and slides up
    // must not move the window by an old anchor.
    drag->active = mouseY < kDragBandHeight;
    drag->anchorLeft = windowLeft;
    drag->anchorTop = windowTop;
    drag->anchorCursorX = cursorX;
    drag->anchorCursorY = cursorY;
    return false;
  }
  if (!drag->active || mouseY >= kDragBandHeight) return false;
  *newLeft = drag->anchorLeft + (cursorX - drag->anchorCursorX);
  *newTop = drag->anchorTop + (cursorY - drag->anchorCursorY);
  return true;
}
