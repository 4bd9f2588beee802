// Dragging the window by its top band.
#include <gtest/gtest.h>

#include "app/window_drag.h"

namespace {

struct Moved {
  bool moved;
  int left;
  int top;
};

class WindowDragTest : public ::testing::Test {
 protected:
  Moved Step(bool down, int mouseY, int result, int cursorX, int cursorY) {
    Moved m{false, 0, 0};
    m.moved =
        UpdateWindowDrag(&drag, down, mouseY, result, cursorX, cursorY, left, top, &m.left, &m.top);
    if (m.moved) {
      left = m.left;
      top = m.top;
    }
    return m;
  }

  WindowDrag drag;
  int left = 100;
  int top = 50;
};

TEST_F(WindowDragTest, PressInTheTopBandMovesTheWindowWithTheCursor) {
  EXPECT_FALSE(Step(true, 30, 0, 500, 80).moved) << "the press only anchors";
  Moved m = Step(true, 30, 0, 540, 70);
  ASSERT_TRUE(m.moved);
  EXPECT_EQ(m.left, 140);
  EXPECT_EQ(m.top, 40);
  m = Step(true, 30, 0, 480, 95);
  ASSERT_TRUE(m.moved);
  EXPECT_EQ(m.left, 80) << "measured from the anchor, not from the last frame";
  EXPECT_EQ(m.top, 65);
  EXPECT_FALSE(Step(false, 30, 0, 480, 95).moved);
  EXPECT_FALSE(Step(false, 30, 0, 600, 95).moved) << "hovering after release";
}

TEST_F(WindowDragTest, PressTakenByAWidgetNeverDrags) {
  EXPECT_FALSE(Step(true, 10, 1, 500, 80).moved);
  EXPECT_FALSE(Step(true, 10, 1, 560, 90).moved);
  EXPECT_EQ(left, 100);
}

TEST_F(WindowDragTest, PressBelowTheBandNeverDragsEvenWhenItSlidesUp) {
  EXPECT_FALSE(Step(true, 60, 0, 500, 80).moved);
  EXPECT_FALSE(Step(true, 20, 0, 500, 40).moved);
  EXPECT_FALSE(Step(true, 5, 0, 520, 20).moved);
  EXPECT_EQ(left, 100);
  EXPECT_EQ(top, 50);
}

TEST_F(WindowDragTest, EachPressTakesAFreshAnchor) {
  Step(true, 30, 0, 500, 80);
  Step(true, 30, 0, 510, 80);
  Step(false, 30, 0, 510, 80);
  EXPECT_EQ(left, 110);
  Step(true, 30, 0, 700, 300);
  Moved m = Step(true, 30, 0, 705, 301);
  ASSERT_TRUE(m.moved);
  EXPECT_EQ(m.left, 115);
  EXPECT_EQ(m.top, 51);
}

}  // namespace
