// Dragging the window by its top band.
#include <gtest/gtest.h>

#include "app/window_drag.h"

namespace {

class WindowDragTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The top 60 rows of a 1024-wide window, less a button at (990, 8), 20 by 20.
    band.areas[0] = DragArea{0, 0, 1024, 60, true};
    band.areas[1] = DragArea{990, 8, 20, 20, false};
    band.count = 2;
  }
  // One frame with the pointer at (x, y) in the window; the cursor on the screen follows from
  // the window's place, which a move changes.
  DragStep Step(bool down, int x, int y) { return StepAt(down, x, y, left + x, top + y); }
  DragStep StepAt(bool down, int x, int y, int cursorX, int cursorY) {
    DragStep step = UpdateWindowDrag(&drag, band, down, x, y, cursorX, cursorY);
    if (step.move) {
      left = step.left;
      top = step.top;
    }
    return step;
  }

  DragBand band;
  WindowDrag drag;
  int left = 100;
  int top = 50;
};

TEST_F(WindowDragTest, PressOnTheBandMovesTheWindowWithTheCursorAndKeepsItFromTheWidgets) {
  DragStep step = Step(true, 300, 30);
  EXPECT_TRUE(step.bandPress);
  EXPECT_FALSE(step.move) << "the press only takes hold";
  step = StepAt(true, 300, 30, 440, 70);
  ASSERT_TRUE(step.move);
  EXPECT_EQ(step.left, 140);
  EXPECT_EQ(step.top, 40);
  step = StepAt(true, 340, 30, 380, 95);
  ASSERT_TRUE(step.move);
  EXPECT_EQ(step.left, 80) << "the place of the press in the window stays under the cursor";
  EXPECT_EQ(step.top, 65);
  EXPECT_TRUE(step.bandPress);
  step = Step(false, 300, 30);
  EXPECT_FALSE(step.move);
  EXPECT_FALSE(step.bandPress) << "the release ends it";
  EXPECT_FALSE(Step(false, 500, 30).move) << "hovering after release";
}

TEST_F(WindowDragTest, StepsOfFiftyPixelsThatLeaveTheBandKeepTheDrag) {
  Step(true, 300, 30);
  // The pointer runs ahead of the window: in the window's old place it is far below the band, or
  // above the window, before the window catches up.
  for (int i = 1; i <= 6; ++i) {
    DragStep step = StepAt(true, 300, 80, 400 + 50 * i, 80 + 50 * i);
    ASSERT_TRUE(step.move) << "step " << i;
    EXPECT_TRUE(step.bandPress);
    EXPECT_EQ(step.left, 100 + 50 * i);
    EXPECT_EQ(step.top, 50 + 50 * i);
  }
  DragStep step = StepAt(true, 300, 0, 400, 30);
  ASSERT_TRUE(step.move);
  EXPECT_EQ(step.left, 100);
  EXPECT_EQ(step.top, 0);
}

TEST_F(WindowDragTest, PressOnAButtonOrBelowTheBandNeverDragsEvenWhenItSlidesOntoIt) {
  for (int x : {995, 300}) {
    const int y = x == 995 ? 10 : 60;
    DragStep step = Step(true, x, y);
    EXPECT_FALSE(step.bandPress) << x << "," << y;
    step = Step(true, 400, 20);
    EXPECT_FALSE(step.move);
    EXPECT_FALSE(step.bandPress) << "the press stays the widgets'";
    Step(false, 400, 20);
  }
  EXPECT_EQ(left, 100);
  EXPECT_EQ(top, 50);
}

TEST_F(WindowDragTest, WhereTheWindowSystemMovesTheWindowThePressIsStillTheBands) {
  band.movedBySystem = true;
  EXPECT_TRUE(Step(true, 300, 30).bandPress);
  DragStep step = StepAt(true, 300, 300, 600, 400);
  EXPECT_TRUE(step.bandPress);
  EXPECT_FALSE(step.move);
}

TEST_F(WindowDragTest, EachPressTakesHoldAfresh) {
  Step(true, 300, 30);
  StepAt(true, 300, 30, 410, 80);
  Step(false, 300, 30);
  EXPECT_EQ(left, 110);
  Step(true, 600, 10);
  DragStep step = StepAt(true, 600, 10, 715, 61);
  ASSERT_TRUE(step.move);
  EXPECT_EQ(step.left, 115);
  EXPECT_EQ(step.top, 51);
}

}  // namespace

// The band of the built main screen, and presses on it through the frame function.
#include "app/drag_band.h"
#include "engine/drag_areas.h"
#include "tests/app/main_screen_fixture.h"

namespace {

class ScreenDragBand : public MainScreenTest {
 protected:
  void SetUp() override {
    MainScreenTest::SetUp();
    Plug();
    savedBand = WindowDragBand;
  }
  void TearDown() override {
    WindowDragBand = savedBand;
    MainScreenTest::TearDown();
  }
  void MoveTo(float x, float y) { engine.input.BuildEvent(EVENT_MOUSE_MOVE, 0, 0, 0, x, y); }
  void Position(int* left, int* top) { platform::Current().GetWindowPosition(window, left, top); }

  DragBand savedBand;
};

TEST_F(ScreenDragBand, TheBandLeavesOutEveryWidgetAndTheSlidersHandles) {
  DragArea areas[kMaxDragAreas];
  const int count = BuildDragBand(areas, kMaxDragAreas);
  struct Point {
    int x, y;
    bool draggable;
    const char* what;
  } points[] = {{300, 30, true, "empty band"},
                {970, 50, true, "between disc 3 and minimise"},
                {300, 59, true, "last band row"},
                {300, 60, false, "first row below the band"},
                {1000, 15, false, "close button"},
                {1000, 45, false, "minimise button"},
                {25, 30, false, "support button"},
                {590, 30, false, "Load"},
                {660, 30, false, "Save"},
                {730, 30, false, "Presets"},
                {805, 30, false, "profile disc 1"},
                {930, 30, false, "profile disc 3"},
                {510, 50, false, "handle at 0 deg"},
                {556, 45, false, "handle at 12 deg"},
                {400, 45, true, "left of the slider"}};
  for (const Point& p : points) {
    EXPECT_EQ(DragAreasHold(areas, count, p.x, p.y), p.draggable) << p.what;
  }
}

TEST_F(ScreenDragBand, WithoutAWindowSystemMoveTheProgramMovesTheWindowItself) {
  InstallDragBand(engine);
  EXPECT_FALSE(WindowDragBand.movedBySystem) << "the off-screen driver has no move of its own";
  EXPECT_NE(LogText().find("Window drag: the offscreen video driver cannot move the window"),
            std::string::npos)
      << LogText();
}

TEST_F(ScreenDragBand, APressOnTheBandThatSlidesOntoTheHandleLeavesTheAnglesAlone) {
  InstallDragBand(engine);
  ASSERT_EQ(AppState, APP_MAIN_SCREEN);
  const double angle1 = AngleSlider->angle1;
  const double angle2 = AngleSlider->angle2;
  const int handleX = AngleSlider->hover1.left + AngleSlider->hover1.w / 2;
  const int handleY = AngleSlider->hover1.top + AngleSlider->hover1.h / 2;
  int left = 0, top = 0;
  Position(&left, &top);

  Press(430, 30);
  EXPECT_FALSE(Frame());
  // In steps of 50 pixels the pointer leaves the band at once, crosses the handle and ends on
  // the wheel; a real pointer's moves are relative to where the window was at each step.
  int moved = 0;
  for (int x = 480, y = 80; y <= 280; x += 50, y += 50) {
    MoveTo(static_cast<float>(handleX + x - 480), static_cast<float>(handleY + y - 80));
    EXPECT_FALSE(Frame());
    ++moved;
  }
  Release(500, 300);
  EXPECT_FALSE(Frame());
  EXPECT_FALSE(Frame());

  EXPECT_EQ(AngleSlider->angle1, angle1);
  EXPECT_EQ(AngleSlider->angle2, angle2);
  EXPECT_FALSE(AngleSlider->dragging);
  int nowLeft = 0, nowTop = 0;
  Position(&nowLeft, &nowTop);
  EXPECT_NE(nowTop, top) << "the window followed the press";
  EXPECT_GT(moved, 0);

  // The same way from a press on the handle itself does move it, so the route is open.
  Press(static_cast<float>(handleX), static_cast<float>(handleY));
  EXPECT_FALSE(Frame());
  MoveTo(static_cast<float>(handleX + 80), static_cast<float>(handleY + 40));
  EXPECT_FALSE(Frame());
  Release(static_cast<float>(handleX + 80), static_cast<float>(handleY + 40));
  EXPECT_FALSE(Frame());
  EXPECT_NE(AngleSlider->angle1, angle1);
}

}  // namespace
