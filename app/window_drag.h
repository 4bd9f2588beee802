#pragma once
// Dragging the borderless window by its top band.

// Where one drag stands between frames.
struct WindowDrag {
  bool previousButton = false;  // button state of the previous frame
  bool active = false;          // a press in the top band is moving the window
  int anchorLeft = 0;           // window position when the press began
  int anchorTop = 0;
  int anchorCursorX = 0;  // screen cursor when the press began
  int anchorCursorY = 0;
};

// Rows from the top of the window that drag it.
inline constexpr int kDragBandHeight = 60;

// One frame of dragging. A press that starts in the top band and is not taken by a widget
// (handlerResult 0) anchors a drag; while the button stays down and the pointer is in the band
// the window follows the screen cursor. Returns true, with the new position, when the window must
// move this frame.
bool UpdateWindowDrag(WindowDrag* drag, bool buttonDown, int mouseY, int handlerResult, int cursorX,
                      int cursorY, int windowLeft, int windowTop, int* newLeft, int* newTop);
