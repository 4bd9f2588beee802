#pragma once
// Where the main screen puts a profile's pictures, worked out from the numbers of its layout
// tables: the label and pointer of each wheel control (for 27 by 30 tiles), and the centre of a
// clock-slider handle for an angle stored in a profile.

#include <cmath>

struct LabelPlace {
  int labelX, labelY;  // top-left corner of the label
  int pointerRegion;
  int pointerX, pointerY;  // top-left corner of the pointer
};

// A 27 by 30 label on side 'r', 'l', 'b' or 'a' (right, left, below, above) of an anchor.
inline LabelPlace LabelBeside(char side, int ax, int ay) {
  switch (side) {
    case 'r':
      return {ax + 18, ay - 13, 104, ax, ay - 12};
    case 'l':
      return {ax - 18 - 27, ay - 14, 105, ax - 20, ay - 13};
    case 'b':
      return {ax - 13, ay + 18, 106, ax - 13, ay};
    default:
      return {ax - 13, ay - 18 - 30, 103, ax - 13, ay - 20};
  }
}

// Controls 0..18: their sides and anchors.
inline const LabelPlace kLabelPlaces[19] = {
    LabelBeside('l', 82, 256),  LabelBeside('r', 119, 256), LabelBeside('a', 102, 244),
    LabelBeside('b', 102, 282), LabelBeside('b', 596, 304), LabelBeside('a', 588, 268),
    LabelBeside('b', 424, 304), LabelBeside('a', 431, 268), LabelBeside('l', 53, 228),
    LabelBeside('a', 59, 202),  LabelBeside('a', 89, 186),  LabelBeside('a', 118, 183),
    LabelBeside('a', 145, 204), LabelBeside('r', 169, 228), LabelBeside('a', 436, 170),
    LabelBeside('a', 584, 170), LabelBeside('a', 953, 178), LabelBeside('a', 869, 257),
    LabelBeside('b', 961, 296),
};

// The tile region on each control in factory profile 1: controls 0..18 edit slots 9, 10, 11, 12,
// 13, 14, 15, 16, 17, 18, 19, 22, 21, 20, 23, 24, 6, 7, 8, whose codes 6, 5, 8, 7, 12, 11, 10, 9,
// 15, 16, 2, 1, 17, 14, 18 (negative), 18 (positive), 11, 10, 12 are the actions 6, 7, 4, 5, 0,
// 1, 2, 3, 8, 9, 10, 13, 12, 11, 15, 16, 1, 2, 0.
inline constexpr int kFactoryOneTiles[19] = {88, 95, 100, 80, 72, 77, 101, 102, 87, 89,
                                             83, 90, 96,  94, 81, 82, 77,  101, 72};

struct HandleCentre {
  int x, y;
};

// A handle's centre for an angle stored in record units: the angle in degrees, limited to
// 0..135, at radius 220 around (510, 276).
inline HandleCentre HandleAt(int stored) {
  double degrees = stored / 242.71851851851852;
  if (degrees < 0) degrees = 0;
  if (degrees > 135) degrees = 135;
  const double radians = degrees * 0.0174532925;
  return {static_cast<int>(std::sin(radians) * 220 + 510),
          static_cast<int>(276 - std::cos(radians) * 220)};
}
