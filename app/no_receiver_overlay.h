#pragma once
// The framed notice drawn over the dimmed main screen while no receiver is connected.

#include "engine/skin_sheet.h"

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
