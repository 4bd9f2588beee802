#pragma once
// The 19 inputs of the wheel picture: the input slot each one edits, the polygon that hit-tests
// it and the side of its anchor point on which its label stands; and how an input slot of the
// record maps onto the controls' entries.

#include <cstdint>

#include "profile/wheel_profile.h"

// Controls 0..18 of the wheel picture.
constexpr int kWheelControlCount = 19;
// Entries of a row of actions: the 19 controls, then the hidden entries of slots 4 and 5.
constexpr int kControlEntryCount = 21;
constexpr int kHiddenEntrySlot4 = 19;
constexpr int kHiddenEntrySlot5 = 20;
constexpr int kNoControl = -1;

enum class LabelSide { kRight, kLeft, kBelow, kAbove };

struct WindowPoint {
  int x, y;
};

struct WheelControl {
  int slot;  // input slot of the record, 6..24
  LabelSide side;
  WindowPoint anchor;
  int vertexCount;
  WindowPoint vertices[5];  // in drawing order; the last edge closes back to the first
};

extern const WheelControl kWheelControls[kWheelControlCount];

// For each input slot 0..24, the entry of a row of actions that carries it: 0..18 for the
// slots of the wheel picture, 19 and 20 for the hidden slots 4 and 5, -1 for slots 0..3, which
// are never edited.
extern const std::int8_t SlotControlTable[kSlotCount];

// The first control, in order 0..18, whose polygon holds (x, y) by the crossing-number rule; -1
// when none does. A point on a polygon's topmost row is outside it.
int FindControlAt(int x, int y);

// Skin regions of the pointers that join a label to its control.
constexpr int kPointerAboveSprite = 103;  // 26 by 20
constexpr int kPointerRightSprite = 104;  // 20 by 25
constexpr int kPointerLeftSprite = 105;   // 20 by 26
constexpr int kPointerBelowSprite = 106;  // 27 by 20

// Where a control's pointer and label are drawn.
struct LabelPlacement {
  int pointerSprite;
  WindowPoint pointer;  // top-left corner of the pointer
  WindowPoint label;    // top-left corner of the label, a tile of the action's size
};

// The pointer and label of `control` (0..18) for a tile of w by h.
LabelPlacement PlaceLabelBeside(int control, int w, int h);
