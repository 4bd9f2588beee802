// Editing on the main screen through the frame function: dragging tiles and labels onto the
// wheel's controls, and the animated switch between profiles, with the receiver coming and going.
#include <algorithm>
#include <cmath>
#include <iterator>

#include "app/action_drag.h"
#include "app/profile_switch.h"
#include "profile/profile_mapping.h"
#include "tests/app/editing_fixture.h"
#include "ui/check.h"
#include "ui/radio_group.h"

namespace {

using DragAndDrop = EditingTest;
using ProfileSwitch = EditingTest;

constexpr int kA = 0, kB = 1;
constexpr double kUnitsPerDegree = 242.71851851851852;

TEST_F(DragAndDrop, TheATileOnTheControlShowingBReplacesB) {
  ASSERT_EQ(ControlActions[5], kB);
  HoldAt(kTileAX, kTileAY);
  ASSERT_TRUE(Drag.active);
  HoldAt(600, 400);
  // The floating tile, 27 by 30, is centred on the pointer.
  EXPECT_EQ(Drag.floatingTile.left, 587);
  EXPECT_EQ(Drag.floatingTile.top, 385);
  EXPECT_EQ(Drag.floatingTile.region, 72);
  UpAt(kControl5X, kControl5Y);
  EXPECT_FALSE(Drag.active);
  EXPECT_EQ(ControlActions[5], kA);
  // Its label stands above the anchor (588, 268): left 588 - 13, top 268 - 18 - 30.
  EXPECT_EQ(ControlLabelRect[5].left, 575);
  EXPECT_EQ(ControlLabelRect[5].top, 220);
  EXPECT_EQ(ControlLabelRect[5].right, 602);
  EXPECT_EQ(ControlLabelRect[5].bottom, 250);
  EXPECT_EQ(ControlActions[4], kA) << "the palette keeps its tile; the source control is untouched";
}

TEST_F(DragAndDrop, ALabelMovesToAnotherControlAndLeavesItsOwnEmpty) {
  DragFromTo(kLabel5X, kLabel5Y, kControl7X, kControl7Y);
  EXPECT_EQ(ControlActions[7], kB) << "Y was dropped, not swapped";
  EXPECT_EQ(ControlActions[5], -1);
  EXPECT_EQ(ControlLabelRect[5].left, -1);
  EXPECT_EQ(ControlLabelRect[5].bottom, -1);
  // A label dropped back on its own control stays there.
  const float label7Y = 268 - 18 - 15;
  DragFromTo(kControl7X, label7Y, kControl7X, kControl7Y);
  EXPECT_EQ(ControlActions[7], kB);
  EXPECT_EQ(ControlLabelRect[7].top, 220);
}

TEST_F(DragAndDrop, ALabelIsRemovedOnlyOverTheBottomBar) {
  DragFromTo(kLabel5X, kLabel5Y, 300, 400);  // empty wheel area
  EXPECT_EQ(ControlActions[5], kB);
  DragFromTo(kLabel5X, kLabel5Y, 300, 463);  // one row above the bar
  EXPECT_EQ(ControlActions[5], kB);
  DragFromTo(kLabel5X, kLabel5Y, 300, 464);
  EXPECT_EQ(ControlActions[5], -1);
  EXPECT_EQ(ControlLabelRect[5].left, -1);
  EXPECT_EQ(FindLabelAt(static_cast<int>(kLabel5X), static_cast<int>(kLabel5Y)), -1);
}

TEST_F(DragAndDrop, APaletteTileDroppedOffTheControlsChangesNothing) {
  std::int32_t before[21];
  std::copy(std::begin(ControlActions), std::end(ControlActions), before);
  DragFromTo(kTileAX, kTileAY, 300, 470);
  DragFromTo(kTileAX, kTileAY, 300, 400);
  EXPECT_TRUE(std::equal(std::begin(before), std::end(before), std::begin(ControlActions)));
}

TEST_F(DragAndDrop, APressTakenByAWidgetNeverStartsADrag) {
  HoldAt(kClearX, kBarY);
  EXPECT_FALSE(Drag.active);
  // Moving onto a palette tile with the button still held starts nothing either.
  HoldAt(kTileAX, kTileAY);
  EXPECT_FALSE(Drag.active);
  UpAt(kTileAX, kTileAY);
  EXPECT_FALSE(Drag.active);
  // A press on the slider's handle belongs to the slider.
  const double radians = 3000 / kUnitsPerDegree * 0.0174532925;
  const float handleX = static_cast<float>(510 + 220 * std::sin(radians));
  const float handleY = static_cast<float>(276 - 220 * std::cos(radians));
  HoldAt(handleX, handleY);
  EXPECT_FALSE(Drag.active);
  UpAt(handleX, handleY);
}

TEST_F(DragAndDrop, ADragHeldWhileTheReceiverIsPulledDropsNothing) {
  HoldAt(kTileAX, kTileAY);
  ASSERT_TRUE(Drag.active);
  Unplug();
  EXPECT_FALSE(Drag.active);
  Plug();
  ASSERT_EQ(AppState, 6);
  HoldAt(kControl5X, kControl5Y);
  UpAt(kControl5X, kControl5Y);
  EXPECT_EQ(ControlActions[5], kB);
}

TEST_F(DragAndDrop, TheLightsAndLevelChangeOnlyTheWidgetsUntilTheNextCapture) {
  Click(kRearLightX, kBarY);
  Click(kHighDotX, kDotY);
  EXPECT_FALSE(RearLightCheck->checked);
  EXPECT_TRUE(LevelHighCheck->checked);
  EXPECT_EQ(ProfileSettings[0].lightFlags, 0x0F);
  EXPECT_EQ(ProfileSettings[0].level, 0x4040);
  ShowProfile(CurrentProfile, true);
  EXPECT_EQ(ProfileSettings[0].lightFlags, 0x0C);
  EXPECT_EQ(ProfileSettings[0].level, 0x7F7F);
}

TEST_F(ProfileSwitch, RunsThirtyFramesOutAndThirtyBackWithTheSwapHalfWay) {
  const double angleA1 = 3000 / kUnitsPerDegree;
  const double angleA3 = 6000 / kUnitsPerDegree;
  const double firstStep = 1 - std::pow(2.0, -1.0 / 3);  // exponential ease-out at 1/30
  Click(kDisc3X, kDiscY);
  ASSERT_EQ(AppState, 5);
  EXPECT_EQ(CurrentProfile, 0);

  UpAt(500, 400);
  EXPECT_NEAR(LabelSlideProgress, firstStep, 1e-12);
  EXPECT_NEAR(AngleSlider->angle1, angleA1 + (90 - angleA1) * firstStep, 1e-9);
  EXPECT_NEAR(AngleSlider->angle2, 135 + (90 - 135) * firstStep, 1e-9);
  int frames = 1;
  while (AppState == 5 && frames < 100) {
    EXPECT_EQ(CurrentProfile, 0);
    UpAt(500, 400);
    ++frames;
  }
  EXPECT_EQ(frames, 30);
  ASSERT_EQ(AppState, 4);
  EXPECT_EQ(CurrentProfile, 2);
  EXPECT_EQ(ShownProfile, 2);
  EXPECT_DOUBLE_EQ(LabelSlideProgress, 1);
  EXPECT_DOUBLE_EQ(AngleSlider->angle1, 90);

  UpAt(500, 400);
  // Bounce ease-out at 1/30 is 7.5625 / 900.
  EXPECT_NEAR(LabelSlideProgress, 1 - 7.5625 / 900, 1e-12);
  EXPECT_NEAR(AngleSlider->angle1, 90 + (angleA3 - 90) * firstStep, 1e-9);
  frames = 1 + FramesUntilMainScreen();
  EXPECT_EQ(frames, 30);
  EXPECT_EQ(LabelSlideProgress, 0);
  EXPECT_DOUBLE_EQ(AngleSlider->angle1, angleA3);
  EXPECT_DOUBLE_EQ(AngleSlider->angle2, 135);
}

TEST_F(ProfileSwitch, TheCurrentDiscDoesNothing) {
  Click(kDisc1X, kDiscY);
  EXPECT_EQ(AppState, 6);
  EXPECT_EQ(CurrentProfile, 0);
}

TEST_F(ProfileSwitch, EditsSurviveASwitchAwayAndBack) {
  DragFromTo(kTileAX, kTileAY, kControl5X, kControl5Y);
  Click(kRearLightX, kBarY);
  Click(kDisc2X, kDiscY);
  FramesUntilMainScreen();
  ASSERT_EQ(CurrentProfile, 1);
  EXPECT_TRUE(RearLightCheck->checked) << "profile 2 has its own lights";
  EXPECT_EQ(ControlActions[5], kB) << "factory profile 2 holds B on control 5 (slot 14, code 11)";
  Click(kDisc1X, kDiscY);
  FramesUntilMainScreen();
  ASSERT_EQ(CurrentProfile, 0);
  EXPECT_EQ(ControlActions[5], kA);
  EXPECT_FALSE(RearLightCheck->checked);
}

TEST_F(ProfileSwitch, APressDuringTheSwitchReachesNothing) {
  Click(kDisc2X, kDiscY);
  ASSERT_EQ(AppState, 5);
  // A click on disc 3 and on Clear Map while it runs.
  Click(kDisc3X, kDiscY);
  Click(kClearX, kBarY);
  EXPECT_TRUE(dialogs.shown().empty());
  // A press on Assign Setting held past the end of the switch and released there.
  HoldAt(kAssignX, kBarY);
  for (int frame = 0; frame < 70 && AppState != 6; ++frame) HoldAt(kAssignX, kBarY);
  ASSERT_EQ(AppState, 6);
  HoldAt(kAssignX, kBarY);
  UpAt(kAssignX, kBarY);
  EXPECT_TRUE(dialogs.shown().empty());
  EXPECT_EQ(CurrentProfile, 1);
  const auto* disc3 = static_cast<const UICheck*>(
      static_cast<const UIRadioGroup*>(ProfileSelectionPanel->first)->first);
  ASSERT_EQ(disc3->id, 23);
  EXPECT_FALSE(disc3->checked);
  // The next click works again.
  Click(kClearX, kBarY);
  EXPECT_EQ(dialogs.shown().size(), 1u);
}

// Pulled out in either half, the switch waits and, once the receiver is back, runs to its end.
TEST_F(ProfileSwitch, APulledReceiverLeavesTheSwitchToFinishOnItsReturn) {
  for (int half : {5, 4}) {
    SCOPED_TRACE(half);
    const int target = CurrentProfile == 0 ? 2 : 0;
    Click(target == 2 ? kDisc3X : kDisc1X, kDiscY);
    while (AppState != half) UpAt(500, 400);
    UpAt(500, 400);
    Unplug();
    EXPECT_EQ(AppState, 0);
    EXPECT_EQ(StateBeforeUnplug, half);
    for (int frame = 0; frame < 5; ++frame) UpAt(500, 400);
    Plug();
    EXPECT_EQ(AppState, half);
    FramesUntilMainScreen();
    ASSERT_EQ(AppState, 6);
    EXPECT_EQ(CurrentProfile, target);
    EXPECT_EQ(ShownProfile, target);
    EXPECT_EQ(LabelSlideProgress, 0);
    const double angleA = (target == 2 ? 6000 : 3000) / kUnitsPerDegree;
    EXPECT_DOUBLE_EQ(AngleSlider->angle1, angleA);
    for (int control = 0; control < 19; ++control) {
      EXPECT_EQ(ControlActions[control], ProfileActionRows[target][control]) << control;
    }
  }
}

// Pulled half-way out and back with out-of-date firmware, the user accepts the upgrade; when the
// update screens hand back to the main screen (they end in AppState 6), the switch is complete.
TEST_F(ProfileSwitch, ASwitchCutOffByTheUpdateIsCompletedOnTheMainScreen) {
  Click(kDisc3X, kDiscY);
  for (int frame = 0; frame < 5; ++frame) UpAt(500, 400);
  ASSERT_EQ(AppState, 5);
  Unplug();
  receiver.SetFirmwareVersion(0x0180);
  Plug();
  dialogs.AnswerNextQuestion(MessageAnswer::kYes);
  UpAt(500, 400);
  ASSERT_EQ(AppState, 8);
  AppState = 6;  // what the update's last screen does
  UpAt(500, 400);
  EXPECT_EQ(CurrentProfile, 2);
  EXPECT_EQ(ShownProfile, 2);
  EXPECT_EQ(LabelSlideProgress, 0);
  EXPECT_DOUBLE_EQ(AngleSlider->angle1, 6000 / kUnitsPerDegree);
  EXPECT_EQ(ControlActions[5], kB) << "profile 3's B on control 5";
  for (int frame = 0; frame < 40; ++frame) UpAt(500, 400);
  EXPECT_EQ(AppState, 6);
  EXPECT_EQ(CurrentProfile, 2);
}

}  // namespace
