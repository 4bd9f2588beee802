#include "ui/clock_slider.h"

#include <gtest/gtest.h>

#include "test_skin.h"
#include "ui/panel.h"

namespace {
// The main screen's slider: tyre images (53 by 53) centred at (510, 276), radius 220, range 0 to
// 135, angles 0 and 90.
class ClockSliderTest : public SkinTest {
 protected:
  void SetUp() override {
    panel.AddChild(slider);
    slider->mirror = true;
    slider->SetRange(0, 135);
    slider->SetAngles(0, 135);
    slider->radius = 220;
    slider->Layout();
    slider->fanAlpha = 190;
    slider->SetAngles(0, 90);
  }

  UIPanel panel{0, 0};
  UIClockSlider* slider = new UIClockSlider(0, kTyre53, kTyre53, kTyre53, 510, 276, &panel);
};

TEST_F(ClockSliderTest, ConstructionDefaults) {
  UIClockSlider fresh(5, kTyre53, kSquare25A, kWide40x20, 100, 200, nullptr);
  EXPECT_EQ(fresh.kind, KIND_CLOCK_SLIDER);
  EXPECT_EQ(fresh.x, 100);
  EXPECT_DOUBLE_EQ(fresh.radius, 132);
  EXPECT_DOUBLE_EQ(fresh.angle1, 10);
  EXPECT_DOUBLE_EQ(fresh.angle2, 80);
  EXPECT_EQ(fresh.fanAlpha, 180);
  EXPECT_EQ(fresh.hub.w, 79);  // trunc(1.5 x 53)
  EXPECT_EQ(fresh.hub.left, 100 - 39);
  EXPECT_EQ(fresh.handle1.w, 25);
  EXPECT_EQ(fresh.hover1.w, 50);  // 1.25 x 40
  EXPECT_EQ(fresh.hover2.h, 25);  // 1.25 x 20
  EXPECT_TRUE(fresh.hover1.hidden);
  EXPECT_FALSE(fresh.handle2.hidden);
  // Mark at lower 0: straight up at radius + 10; mark at 90: to the right.
  EXPECT_DOUBLE_EQ(fresh.mark1X, 100);
  EXPECT_DOUBLE_EQ(fresh.mark1Y, 200 - 142);
  EXPECT_DOUBLE_EQ(fresh.mark2X, 242);
  EXPECT_DOUBLE_EQ(fresh.mark2Y, 200);
}

TEST_F(ClockSliderTest, HandlePositionsAtRadius220) {
  EXPECT_EQ(slider->handle1.anchorX, 510);
  EXPECT_EQ(slider->handle1.anchorY, 56);
  EXPECT_EQ(slider->handle2.anchorX, 730);
  EXPECT_EQ(slider->handle2.anchorY, 276);
  EXPECT_EQ(slider->hover2.anchorX, 730);
  EXPECT_EQ(slider->hover2.left, 730 - 33);  // hover image 66 wide
  // 135 degrees: (510 + 155.56, 276 + 155.56), truncated.
  slider->SetAngles(135, 45);
  EXPECT_EQ(slider->handle1.anchorX, 665);
  EXPECT_EQ(slider->handle1.anchorY, 431);
  EXPECT_EQ(slider->handle2.anchorX, 665);
  EXPECT_EQ(slider->handle2.anchorY, 120);
  EXPECT_DOUBLE_EQ(slider->angle1, 135);  // no ordering, no clamping
}

TEST_F(ClockSliderTest, HoverShowsTheHoverImageInsteadOfTheHandle) {
  EXPECT_FALSE(slider->HandleMouse(EVENT_HOVER, 730, 276));
  EXPECT_TRUE(slider->handle2.hidden);
  EXPECT_FALSE(slider->hover2.hidden);
  EXPECT_FALSE(slider->handle1.hidden);
  EXPECT_FALSE(slider->HandleMouse(EVENT_HOVER, 600, 276));
  EXPECT_FALSE(slider->handle2.hidden);
  EXPECT_TRUE(slider->hover2.hidden);
}

TEST_F(ClockSliderTest, DragClampsAndReleaseOrdersTheAngles) {
  EXPECT_TRUE(panel.Dispatch(EVENT_HELD, 730, 276));
  EXPECT_TRUE(slider->dragging);
  EXPECT_EQ(slider->which, 2);
  EXPECT_EQ(panel.capture, slider);
  EXPECT_NEAR(slider->angle2, 90, 1e-6);

  // Left of the centre points below 0: clamped to the lower limit; the handles cross.
  EXPECT_TRUE(panel.Dispatch(EVENT_HELD, 300, 200));
  EXPECT_DOUBLE_EQ(slider->angle2, 0);
  EXPECT_TRUE(slider->handle2.hidden);
  EXPECT_FALSE(slider->hover2.hidden);
  EXPECT_EQ(slider->handle2.anchorX, 510);

  // Down and to the right is beyond the upper limit of 135.
  EXPECT_TRUE(panel.Dispatch(EVENT_HELD, 520, 500));
  EXPECT_DOUBLE_EQ(slider->angle2, 135);

  // Released at 45 degrees with handle 1 at 60: the two angles swap.
  slider->angle1 = 60;
  EXPECT_TRUE(panel.Dispatch(EVENT_RELEASED, 610, 176));  // 45 degrees
  EXPECT_NEAR(slider->angle1, 45, 1e-6);
  EXPECT_DOUBLE_EQ(slider->angle2, 60);
  EXPECT_FALSE(slider->dragging);
  EXPECT_EQ(slider->which, 0);
  EXPECT_EQ(panel.capture, nullptr);
  EXPECT_EQ(slider->handle2.anchorX, 700);  // 60 degrees at radius 220: 510 + 190.5
  EXPECT_FALSE(panel.Dispatch(EVENT_HOVER, 10, 10));
}

TEST_F(ClockSliderTest, EndDragLetsGoWhereTheHandlesStandInOrder) {
  // Handle 2 dragged left of the centre, below handle 1 at 0: the handles cross.
  slider->SetAngles(30, 90);
  EXPECT_TRUE(panel.Dispatch(EVENT_HELD, 730, 276));
  EXPECT_TRUE(panel.Dispatch(EVENT_HELD, 300, 200));
  EXPECT_DOUBLE_EQ(slider->angle2, 0);
  slider->EndDrag();
  EXPECT_FALSE(slider->dragging);
  EXPECT_EQ(slider->which, 0);
  EXPECT_EQ(panel.capture, nullptr);
  EXPECT_DOUBLE_EQ(slider->angle1, 0);
  EXPECT_DOUBLE_EQ(slider->angle2, 30);
  EXPECT_EQ(slider->handle1.anchorX, 510);
  // The pointer moving on with no button down moves nothing now.
  EXPECT_FALSE(panel.Dispatch(EVENT_HOVER, 730, 276));
  EXPECT_DOUBLE_EQ(slider->angle2, 30);
  // Without a drag it changes nothing: angles set out of order stay as set.
  slider->SetAngles(100, 20);
  slider->EndDrag();
  EXPECT_DOUBLE_EQ(slider->angle1, 100);
  EXPECT_DOUBLE_EQ(slider->angle2, 20);
}

TEST_F(ClockSliderTest, HandleOneIsPreferredWhenBothAreUnderTheMouse) {
  slider->SetAngles(30, 30);
  EXPECT_TRUE(slider->HandleMouse(EVENT_HELD, 620, 85));
  EXPECT_EQ(slider->which, 1);
}

TEST_F(ClockSliderTest, PressStartedAwayDragsOnlyOnceHeldOverAHandle) {
  EXPECT_FALSE(slider->HandleMouse(EVENT_HELD, 600, 300));
  EXPECT_FALSE(slider->dragging);
  // Moving onto a handle with the button held: the held event repeats and starts the drag here.
  EXPECT_TRUE(slider->HandleMouse(EVENT_HELD, 731, 277));
  EXPECT_EQ(slider->which, 2);
  // A release over a handle without a drag does nothing.
  slider->HandleMouse(EVENT_RELEASED, 731, 277);
  EXPECT_FALSE(slider->HandleMouse(EVENT_RELEASED, 510, 56));
  EXPECT_FALSE(slider->HandleMouse(EVENT_HOVER, 510, 56));
  EXPECT_FALSE(slider->dragging);
}

TEST_F(ClockSliderTest, SetStateChangesNothing) {
  panel.SetState(false, false);
  slider->SetState(false, false);
  EXPECT_TRUE(slider->enabled);
  EXPECT_TRUE(slider->visible);
  EXPECT_TRUE(slider->HandleMouse(EVENT_HELD, 730, 276));
}

TEST_F(ClockSliderTest, SetPositionMovesTheCentreAndRelaysOut) {
  slider->SetPosition(410, 300);
  EXPECT_DOUBLE_EQ(slider->cx, 410);
  EXPECT_EQ(slider->hub.anchorX, 410);
  EXPECT_EQ(slider->handle2.anchorX, 630);
  EXPECT_EQ(slider->handle2.anchorY, 300);
  EXPECT_DOUBLE_EQ(slider->mark2X, 572);  // 135 degrees, 230 out
  EXPECT_DOUBLE_EQ(slider->mark2Y, 462);
}

TEST_F(ClockSliderTest, DrawsMirrorThenSliceThenImages) {
  slider->hover2.hidden = false;
  slider->handle2.hidden = true;
  slider->Draw();
  // Mark 2 at 135 degrees, 230 out: (672, 438).
  const std::vector<DrawCall> expected = {
      LineCall(510, 276, 348, 438, 3, 0x3F7F7F7F),
      FanCall(510, 276, 220, -0.0f, -90.0f, 70, 1),
      LineCall(510, 276, 510, 56, 2, 0x7FFFFFFF),
      LineCall(510, 276, 290, 276, 2, 0x7FFFFFFF),
      LineCall(510, 276, 510, 46, 3, 0x7F7F7F7F),
      LineCall(510, 276, 672, 438, 3, 0x7F7F7F7F),
      FanCall(510, 276, 220, 0.0f, 90.0f, 190, 0),
      LineCall(510, 276, 510, 56, 2, 0xFFFFFFFF),
      LineCall(510, 276, 730, 276, 2, 0xFFFFFFFF),
      RegionCall(kTyre53, 510 - 39, 276 - 39, 79, 79, 255),
      RegionCall(kTyre53, 510 - 26, 56 - 26, 53, 53, 255),
      RegionCall(kTyre53, 730 - 33, 276 - 33, 66, 66, 255),
  };
  EXPECT_EQ(RecordedDraws(), expected);
}

TEST_F(ClockSliderTest, NegativeLowerLimitReversesTheFan) {
  slider->mirror = false;
  slider->SetRange(-45, 45);
  EXPECT_TRUE(slider->reverse);
  slider->Draw();
  EXPECT_EQ(RecordedDraws()[2], FanCall(510, 276, 220, 0.0f, 90.0f, 190, 1));
}
}  // namespace
