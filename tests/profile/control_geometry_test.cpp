// Where the wheel picture's controls, the palette tiles and the labels are hit, and where a
// label stands beside its control.
#include <gtest/gtest.h>

#include <array>

#include "profile/action_tiles.h"
#include "profile/profile_state.h"
#include "profile/wheel_controls.h"

namespace {

TEST(FindControlAt, EdgesFollowTheCrossingRule) {
  // Control 4 is the square (582, 287)-(608, 313). Its top row is outside, its bottom row is
  // decided by the vertical edges alone and is inside; the left edge is outside, the right
  // edge inside.
  EXPECT_EQ(FindControlAt(595, 300), 4);
  EXPECT_EQ(FindControlAt(595, 287), -1);
  EXPECT_EQ(FindControlAt(582, 287), -1);
  EXPECT_EQ(FindControlAt(595, 313), 4);
  EXPECT_EQ(FindControlAt(608, 313), 4);
  EXPECT_EQ(FindControlAt(582, 300), -1);
  EXPECT_EQ(FindControlAt(608, 300), 4);
  EXPECT_EQ(FindControlAt(609, 300), -1);
  // Control 0's upper right edge runs from (74, 232) to (98, 256): a point on it is inside, one
  // pixel to its right is not; the topmost vertex is outside.
  EXPECT_EQ(FindControlAt(86, 244), 0);
  EXPECT_EQ(FindControlAt(87, 244), -1);
  EXPECT_EQ(FindControlAt(98, 256), 0);
  EXPECT_EQ(FindControlAt(99, 256), -1);
  EXPECT_EQ(FindControlAt(74, 232), -1);
  EXPECT_EQ(FindControlAt(66, 248), -1);
}

TEST(FindControlAt, TheWholeWindowHitsEachControlItsOwnNumberOfPixels) {
  // Counted with a separate model of the rule; the four face buttons and the two paddles are
  // squares of 26 by 26 and 23 by 24 pixels.
  const std::array<int, 19> expected = {806, 910, 904, 823, 676, 676, 676, 676, 594, 801,
                                        811, 781, 801, 608, 552, 552, 705, 653, 1082};
  std::array<int, 19> counted{};
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 1024; ++x) {
      const int control = FindControlAt(x, y);
      if (control == -1) continue;
      ASSERT_GE(control, 0);
      ASSERT_LT(control, 19);
      ++counted[control];
    }
  }
  EXPECT_EQ(counted, expected);
}

TEST(SlotControlTable, IsTheInverseOfTheControlsSlots) {
  const int slotOfControl[19] = {9,  10, 11, 12, 13, 14, 15, 16, 17, 18,
                                 19, 22, 21, 20, 23, 24, 6,  7,  8};
  for (int control = 0; control < 19; ++control) {
    EXPECT_EQ(kWheelControls[control].slot, slotOfControl[control]);
    EXPECT_EQ(SlotControlTable[slotOfControl[control]], control);
  }
  EXPECT_EQ(SlotControlTable[4], 19);
  EXPECT_EQ(SlotControlTable[5], 20);
  for (int slot = 0; slot < 4; ++slot) EXPECT_EQ(SlotControlTable[slot], -1);
}

TEST(FindPaletteTileAt, BothEdgesCount) {
  EXPECT_EQ(FindPaletteTileAt(702, 515), 0);
  EXPECT_EQ(FindPaletteTileAt(729, 545), 0);
  EXPECT_EQ(FindPaletteTileAt(701, 530), -1);
  EXPECT_EQ(FindPaletteTileAt(730, 530), -1);
  EXPECT_EQ(FindPaletteTileAt(715, 514), -1);
  EXPECT_EQ(FindPaletteTileAt(715, 546), -1);
  EXPECT_EQ(FindPaletteTileAt(945, 545), 20);
  EXPECT_EQ(FindPaletteTileAt(954, 475), 18);
}

TEST(FindPaletteTileAt, SteeringBoostCannotBePickedUpInTheWindow) {
  int hits[21] = {};
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 1024; ++x) {
      const int action = FindPaletteTileAt(x, y);
      if (action == -1) continue;
      ASSERT_GE(action, 0);
      ASSERT_LT(action, 21);
      ++hits[action];
    }
  }
  for (int action = 0; action < 21; ++action) {
    // 28 by 31 window pixels: both edges of the 27 by 30 rectangle count.
    EXPECT_EQ(hits[action], action == 14 ? 0 : 28 * 31) << action;
  }
  EXPECT_EQ(FindPaletteTileAt(36666, 40435), 14) << "only where no pointer ever is";
}

struct LabelCase {
  int control;
  int action;
  LabelRect rect;
  int pointerSprite;
  int pointerX, pointerY;
};

TEST(PlaceLabel, EachSidePlacesPointerAndLabel) {
  const LabelCase cases[] = {
      // right of (119, 256), left of (82, 256), below (102, 282), above (102, 244)
      {1, 0, {137, 243, 164, 273}, 104, 119, 244},
      {0, 0, {37, 242, 64, 272}, 105, 62, 243},
      {3, 0, {89, 300, 116, 330}, 106, 89, 282},
      {2, 0, {89, 196, 116, 226}, 103, 89, 224},
      // The wide Steering boost tile, 141 by 27.
      {1, 14, {137, 243, 278, 270}, 104, 119, 244},
      {0, 14, {-77, 242, 64, 269}, 105, 62, 243},
      {3, 14, {32, 300, 173, 327}, 106, 89, 282},
      {2, 14, {32, 199, 173, 226}, 103, 89, 224},
  };
  for (const LabelCase& c : cases) {
    InitProfileState();
    PlaceLabel(c.control, c.action);
    const LabelRect& rect = ControlLabelRect[c.control];
    EXPECT_EQ(rect.left, c.rect.left) << c.control << "/" << c.action;
    EXPECT_EQ(rect.top, c.rect.top) << c.control << "/" << c.action;
    EXPECT_EQ(rect.right, c.rect.right) << c.control << "/" << c.action;
    EXPECT_EQ(rect.bottom, c.rect.bottom) << c.control << "/" << c.action;
    const ActionTile& tile = kActionTiles[c.action];
    const LabelPlacement place = PlaceLabelBeside(c.control, tile.w, tile.h);
    EXPECT_EQ(place.pointerSprite, c.pointerSprite) << c.control;
    EXPECT_EQ(place.pointer.x, c.pointerX) << c.control;
    EXPECT_EQ(place.pointer.y, c.pointerY) << c.control;
    EXPECT_EQ(place.label.x, c.rect.left) << c.control;
    EXPECT_EQ(place.label.y, c.rect.top) << c.control;
  }
}

TEST(PlaceLabel, NoActionOrAnyValueOutsideTheTableEmptiesTheRectangle) {
  for (int action : {-1, 21, 22, 255, -32767}) {
    PlaceLabel(1, 0);
    PlaceLabel(1, action);
    const LabelRect& rect = ControlLabelRect[1];
    EXPECT_EQ(rect.left, -1) << action;
    EXPECT_EQ(rect.top, -1) << action;
    EXPECT_EQ(rect.right, -1) << action;
    EXPECT_EQ(rect.bottom, -1) << action;
  }
  PlaceLabel(19, 0);  // a hidden entry has no label: nothing to place
  PlaceLabel(-1, 0);
}

TEST(FindLabelAt, BothEdgesCountAndEmptyRectanglesNever) {
  InitProfileState();
  EXPECT_EQ(FindLabelAt(-1, -1), -1) << "an empty rectangle is not a label at (-1, -1)";
  PlaceLabel(1, 0);  // (137, 243) to (164, 273)
  EXPECT_EQ(FindLabelAt(137, 243), 1);
  EXPECT_EQ(FindLabelAt(164, 273), 1);
  EXPECT_EQ(FindLabelAt(165, 273), -1);
  EXPECT_EQ(FindLabelAt(150, 274), -1);
  EXPECT_EQ(FindLabelAt(136, 250), -1);
  // Where two labels overlap, the lower control number wins.
  PlaceLabel(13, 0);  // right of (169, 228): (187, 215) to (214, 245)
  PlaceLabel(1, 14);  // (137, 243) to (278, 270)
  EXPECT_EQ(FindLabelAt(200, 244), 1);
  EXPECT_EQ(FindLabelAt(200, 242), 13);
}

}  // namespace
