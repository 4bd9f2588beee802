#pragma once
// What the main screen looks like without a receiver: dimmed, under a framed notice.

#include "engine/skin_sheet.h"

// The main screen's alpha in a state: full in states 1 to 6, half in 0, 7 and 8 upwards, where
// an overlay lies over it.
int MainScreenAlpha(int appState);

// Where the no-receiver overlay's pieces go in the 1024 by 600 window.
struct NoReceiverLayout {
  int frameX, frameY, frameW, frameH;  // frame 0 behind the notice
  int noticeX, noticeY;                // region 38, the notice
  int footerX, footerY;                // region 108, below it
};

// The layout for the notice (region 38) and footer (region 108) sizes.
NoReceiverLayout LayOutNoReceiverOverlay(const SkinRegion& notice, const SkinRegion& footer);
// Draws the overlay from the bound sheet, whose region table is `sheet`'s.
void DrawNoReceiverOverlay(const SkinSheet& sheet);
