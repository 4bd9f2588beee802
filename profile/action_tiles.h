#pragma once
// The tile of each action: the skin picture that shows it in the palette and as a control's
// label, its size, and where its palette tile lies in the window.

#include "profile/action_codes.h"

struct ActionTile {
  int sprite;              // skin region of the tile picture
  int paletteX, paletteY;  // top-left corner of the palette tile in window pixels
  int w, h;                // size of the tile, in the palette and as a label
};

// The tiles of actions 0..20. Action 14's palette tile lies far outside the window, so it can
// never be picked up: it reaches a control only from a record.
extern const ActionTile kActionTiles[kActionCount];

// The tile of `action`; null for no action and for any value outside 0..20.
const ActionTile* FindActionTile(int action);

// The first action, in action order, whose palette rectangle holds (x, y), both edges included;
// -1 when none does.
int FindPaletteTileAt(int x, int y);
