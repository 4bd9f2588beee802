#include "profile/action_tiles.h"

// clang-format off
const ActionTile kActionTiles[kActionCount] = {
    {72, 702, 515, 27, 30},        // 0  A
    {77, 738, 515, 27, 30},        // 1  B
    {101, 774, 515, 27, 30},       // 2  X
    {102, 810, 515, 27, 30},       // 3  Y
    {100, 882, 515, 27, 30},       // 4  triangle up
    {80, 846, 475, 27, 30},        // 5  triangle down
    {88, 882, 475, 27, 30},        // 6  triangle left
    {95, 846, 515, 27, 30},        // 7  triangle right
    {87, 702, 475, 27, 30},        // 8  LB
    {89, 774, 475, 27, 30},        // 9  LT
    {83, 702, 555, 27, 30},        // 10 L between rays
    {94, 738, 475, 27, 30},        // 11 RB
    {96, 810, 475, 27, 30},        // 12 RT
    {90, 738, 555, 27, 30},        // 13 R between rays
    {97, 36666, 40435, 141, 27},   // 14 Steering boost, off screen
    {81, 774, 555, 27, 30},        // 15 wheel turned anticlockwise
    {82, 810, 555, 27, 30},        // 16 wheel turned clockwise
    {74, 954, 515, 27, 30},        // 17 stick left
    {75, 954, 475, 27, 30},        // 18 stick right
    {76, 918, 475, 27, 30},        // 19 stick up
    {73, 918, 515, 27, 30},        // 20 stick down
};
// clang-format on

const ActionTile* FindActionTile(int action) {
  if (action < 0 || action >= kActionCount) return nullptr;
  return &kActionTiles[action];
}

int FindPaletteTileAt(int x, int y) {
  for (int action = 0; action < kActionCount; ++action) {
    const ActionTile& tile = kActionTiles[action];
    if (x >= tile.paletteX && x <= tile.paletteX + tile.w && y >= tile.paletteY &&
        y <= tile.paletteY + tile.h) {
      return action;
    }
  }
  return kNoAction;
}
