#include "profile/wheel_controls.h"

#include <algorithm>
#include <cassert>

namespace {

using enum LabelSide;

// Offsets of the label geometry from the anchor.
constexpr int kLabelGap = 18;

// Whether the edge from a to b counts for the crossing number of the point (x, y). The rule is
// taken exactly, in floating point, so that points on an edge fall the same way every time.
bool EdgeCounts(double x, double y, WindowPoint a, WindowPoint b) {
  const double x1 = a.x, y1 = a.y, x2 = b.x, y2 = b.y;
  if (!(y > std::min(y1, y2) && y <= std::max(y1, y2) && x <= std::max(x1, x2))) return false;
  if (y1 == y2) return false;
  return x1 == x2 || x <= x1 + (y - y1) * (x2 - x1) / (y2 - y1);
}

bool PolygonHolds(const WheelControl& control, double x, double y) {
  int crossings = 0;
  for (int j = 0; j < control.vertexCount; ++j) {
    const WindowPoint a = control.vertices[j];
    const WindowPoint b = control.vertices[(j + 1) % control.vertexCount];
    if (EdgeCounts(x, y, a, b)) ++crossings;
  }
  return crossings % 2 == 1;
}

}  // namespace

// clang-format off
const WheelControl kWheelControls[kWheelControlCount] = {
    // The round pad of the left close-up.
    {9,  kLeft,  {82, 256},  5, {{74, 232}, {98, 256}, {76, 279}, {67, 262}, {66, 248}}},
    {10, kRight, {119, 256}, 5, {{131, 231}, {140, 249}, {140, 262}, {130, 281}, {106, 256}}},
    {11, kAbove, {102, 244}, 5, {{78, 228}, {99, 218}, {112, 219}, {127, 227}, {102, 253}}},
    {12, kBelow, {102, 282}, 5, {{102, 260}, {126, 284}, {111, 292}, {96, 292}, {79, 283}}},
    // The four round buttons on the wheel's face.
    {13, kBelow, {596, 304}, 4, {{582, 287}, {608, 287}, {608, 313}, {582, 313}}},
    {14, kAbove, {588, 268}, 4, {{575, 259}, {601, 259}, {601, 285}, {575, 285}}},
    {15, kBelow, {424, 304}, 4, {{411, 287}, {437, 287}, {437, 313}, {411, 313}}},
    {16, kAbove, {431, 268}, 4, {{418, 259}, {444, 259}, {444, 285}, {418, 285}}},
    // The fan of six buttons above the pad.
    {17, kLeft,  {53, 228},  4, {{24, 234}, {35, 209}, {63, 227}, {60, 234}}},
    {18, kAbove, {59, 202},  4, {{39, 204}, {63, 182}, {80, 213}, {67, 222}}},
    {19, kAbove, {89, 186},  4, {{69, 180}, {100, 171}, {100, 207}, {86, 210}}},
    {22, kAbove, {118, 183}, 4, {{106, 172}, {137, 179}, {121, 210}, {106, 207}}},
    {21, kAbove, {145, 204}, 4, {{126, 213}, {143, 182}, {167, 203}, {139, 222}}},
    {20, kRight, {169, 228}, 4, {{143, 227}, {171, 208}, {182, 234}, {147, 234}}},
    // The two paddles at the top of the rim.
    {23, kAbove, {436, 170}, 4, {{424, 164}, {447, 164}, {447, 188}, {424, 188}}},
    {24, kAbove, {584, 170}, 4, {{572, 164}, {595, 164}, {595, 188}, {572, 188}}},
    // The three directions of the gear lever in the right close-up.
    {6,  kAbove, {953, 178}, 5, {{965, 167}, {960, 185}, {929, 208}, {922, 201}, {947, 171}}},
    {7,  kAbove, {869, 257}, 5, {{894, 227}, {901, 233}, {875, 263}, {859, 267}, {863, 250}}},
    {8,  kBelow, {961, 296}, 5, {{928, 234}, {969, 294}, {970, 311}, {954, 302}, {920, 239}}},
};

const std::int8_t SlotControlTable[kSlotCount] = {
    -1, -1, -1, -1,                          // slots 0-3: never edited
    kHiddenEntrySlot4, kHiddenEntrySlot5,    // slots 4, 5: no visible control
    16, 17, 18,                              // slots 6-8: the gear lever
    0, 1, 2, 3,                              // slots 9-12: the round pad
    4, 5, 6, 7,                              // slots 13-16: the face buttons
    8, 9, 10,                                // slots 17-19
    13, 12, 11,                              // slots 20-22
    14, 15,                                  // slots 23, 24: the paddles
};
// clang-format on

int FindControlAt(int x, int y) {
  for (int control = 0; control < kWheelControlCount; ++control) {
    if (PolygonHolds(kWheelControls[control], x, y)) return control;
  }
  return kNoControl;
}

LabelPlacement PlaceLabelBeside(int control, int w, int h) {
  assert(control >= 0 && control < kWheelControlCount);
  const WindowPoint a = kWheelControls[control].anchor;
  switch (kWheelControls[control].side) {
    case kRight:
      return {kPointerRightSprite, {a.x, a.y - 12}, {a.x + kLabelGap, a.y - 13}};
    case kLeft:
      return {kPointerLeftSprite, {a.x - 20, a.y - 13}, {a.x - kLabelGap - w, a.y - 14}};
    case kBelow:
      return {kPointerBelowSprite, {a.x - 13, a.y}, {a.x - (w >> 1), a.y + kLabelGap}};
    case kAbove:
      return {kPointerAboveSprite, {a.x - 13, a.y - 20}, {a.x - (w >> 1), a.y - kLabelGap - h}};
  }
  return {kPointerAboveSprite, a, a};
}
