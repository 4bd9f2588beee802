#pragma once
// What the update screens draw over the dimmed main screen: the update picture with its progress
// bar and message while an upgrade is asked for, runs or waits for the receiver (states 8 to 10),
// and the error panel when it failed (state 11).

#include <cstdint>

#include "engine/skin_sheet.h"

// Where the update overlay's pieces go in the 1024 by 600 window.
struct UpdateOverlayLayout {
  int frameX, frameY, frameW, frameH;              // frame 0 behind the picture
  int pictureX, pictureY;                          // region 107
  int barFrameX, barFrameY, barFrameW, barFrameH;  // frame 1 around the bar
  int barX, barY, barW, barH;                      // the empty (red) bar
  int messageX, messageY;                          // centre of the message's first line
};

// The layout for the update picture's size (region 107).
UpdateOverlayLayout LayOutUpdateOverlay(const SkinRegion& picture);
// Width of the bar's filled (green) part at `percent`: 4 pixels a percent, 400 at 100.
int UpdateBarFill(int percent);

// Draws the update overlay from the bound sheet, whose region table is `sheet`'s, with the
// upgrade's current percentage and message.
void DrawUpdateOverlay(const SkinSheet& sheet);
// Draws the error panel of a failed update.
void DrawUpdateErrorPanel();
