#include "ui/button.h"

#include <gtest/gtest.h>

#include "callback_log.h"
#include "test_skin.h"

namespace {
// A 25 by 25 button at (990, 8), like the close button of the main screen.
class ButtonTest : public SkinTest {
 protected:
  void SetUp() override {
    CallbackLog().clear();
    button.callback = RecordCallback;
    button.userValue = 7;
  }
  // Which of normal, pressed and hover are shown, as "NPH" with '-' for hidden.
  std::string Look() const {
    std::string look;
    look += button.normal.hidden ? '-' : 'N';
    look += button.pressedImage.hidden ? '-' : 'P';
    look += button.hover.hidden ? '-' : 'H';
    return look;
  }

  UIButton button{1, kSquare25A, kSquare25B, kSquare25C, 990, 8, false};
  static constexpr int kInX = 1000, kInY = 20, kOutX = 900, kOutY = 20;
};

TEST_F(ButtonTest, StartsNormalWithTheFirstImagesSize) {
  EXPECT_EQ(button.kind, KIND_BUTTON);
  EXPECT_EQ(button.id, 1);
  EXPECT_EQ(button.w, 25);
  EXPECT_EQ(button.h, 25);
  EXPECT_EQ(Look(), "N--");
  EXPECT_FALSE(button.pressed);
}

TEST_F(ButtonTest, ClickCallsBackOnceWhileStillPressed) {
  EXPECT_FALSE(button.HandleMouse(EVENT_HOVER, kInX, kInY));
  EXPECT_EQ(Look(), "N-H");
  EXPECT_TRUE(button.HandleMouse(EVENT_HELD, kInX, kInY));
  EXPECT_EQ(Look(), "-P-");
  EXPECT_TRUE(button.HandleMouse(EVENT_HELD, kInX + 1, kInY));
  EXPECT_TRUE(CallbackLog().empty());
  EXPECT_TRUE(button.HandleMouse(EVENT_RELEASED, kInX, kInY));
  ASSERT_EQ(CallbackLog().size(), 1u);
  EXPECT_EQ(CallbackLog()[0].control, &button);
  EXPECT_EQ(CallbackLog()[0].event, EVENT_CLICKED);
  EXPECT_EQ(CallbackLog()[0].userValue, 7);
  EXPECT_TRUE(CallbackLog()[0].checkedAtCall);  // still pressed when called
  EXPECT_EQ(Look(), "N--");
  EXPECT_FALSE(button.pressed);
}

TEST_F(ButtonTest, PressThenMoveOffThenReleaseDoesNothing) {
  button.HandleMouse(EVENT_HELD, kInX, kInY);
  EXPECT_FALSE(button.HandleMouse(EVENT_HELD, kOutX, kOutY));
  EXPECT_EQ(Look(), "N--");
  EXPECT_FALSE(button.pressed);
  EXPECT_FALSE(button.HandleMouse(EVENT_RELEASED, kOutX, kOutY));
  EXPECT_TRUE(CallbackLog().empty());
  EXPECT_EQ(Look(), "N--");
}

TEST_F(ButtonTest, PressOutsideThenMoveOnThenReleaseClicks) {
  EXPECT_FALSE(button.HandleMouse(EVENT_HELD, kOutX, kOutY));
  EXPECT_TRUE(button.HandleMouse(EVENT_HELD, kInX, kInY));
  EXPECT_TRUE(button.HandleMouse(EVENT_RELEASED, kInX, kInY));
  EXPECT_EQ(CallbackLog().size(), 1u);
}

TEST_F(ButtonTest, ReleaseWithoutPressIsConsumedButDoesNotCallBack) {
  EXPECT_TRUE(button.HandleMouse(EVENT_RELEASED, kInX, kInY));
  EXPECT_TRUE(CallbackLog().empty());
}

TEST_F(ButtonTest, WheelBitsAreNotButtonEvents) {
  EXPECT_FALSE(button.HandleMouse(EVENT_HOVER | EVENT_WHEEL_UP, kInX, kInY));
  EXPECT_FALSE(button.HandleMouse(EVENT_RELEASED | EVENT_WHEEL_DOWN, kInX, kInY));
  EXPECT_EQ(Look(), "N--");
  EXPECT_TRUE(button.hovering);
}

TEST_F(ButtonTest, HoverNotifiesOnceOnEnterAndOnceOnLeave) {
  button.notifyHover = true;
  button.HandleMouse(EVENT_HOVER, kOutX, kOutY);
  button.HandleMouse(EVENT_HOVER, kInX, kInY);
  button.HandleMouse(EVENT_HOVER, kInX + 3, kInY + 2);
  button.HandleMouse(EVENT_HELD, kInX + 4, kInY);
  button.HandleMouse(EVENT_HOVER, kOutX, kOutY);
  button.HandleMouse(EVENT_HOVER, kOutX - 5, kOutY);
  ASSERT_EQ(CallbackLog().size(), 2u);
  EXPECT_EQ(CallbackLog()[0].event, EVENT_ENTER);
  EXPECT_EQ(CallbackLog()[1].event, EVENT_LEAVE);
  EXPECT_FALSE(button.hovering);
}

TEST_F(ButtonTest, WithoutNotifyHoverNothingIsSent) {
  button.HandleMouse(EVENT_HOVER, kInX, kInY);
  button.HandleMouse(EVENT_HOVER, kOutX, kOutY);
  EXPECT_TRUE(CallbackLog().empty());
}

TEST_F(ButtonTest, HitRectangleToThePixel) {
  // Bottom row y = 33 is inside; x = left + 25 is outside.
  EXPECT_TRUE(button.HandleMouse(EVENT_HELD, 990, 33));
  EXPECT_FALSE(button.HandleMouse(EVENT_HELD, 1015, 20));
  EXPECT_TRUE(button.HandleMouse(EVENT_HELD, 1014, 8));
  EXPECT_FALSE(button.HandleMouse(EVENT_HELD, 1000, 7));
  EXPECT_FALSE(button.HandleMouse(EVENT_HELD, 1000, 34));
  EXPECT_FALSE(button.HandleMouse(EVENT_HELD, 989, 20));
}

TEST_F(ButtonTest, DisablingAPressedButtonShowsItPressedAtHalfAlpha) {
  button.HandleMouse(EVENT_HELD, kInX, kInY);
  button.SetState(false, true);
  EXPECT_EQ(Look(), "-P-");
  EXPECT_FLOAT_EQ(button.pressedImage.alpha, 0.5f);
  button.Draw();
  ASSERT_EQ(RecordedDraws().size(), 1u);
  EXPECT_EQ(RecordedDraws()[0], RegionCall(kSquare25B, 990, 8, 25, 25, 127));
  // A disabled button ignores the mouse.
  EXPECT_FALSE(button.HandleMouse(EVENT_RELEASED, kInX, kInY));
  EXPECT_TRUE(CallbackLog().empty());
}

TEST_F(ButtonTest, HiddenButtonDrawsNothingAndIgnoresTheMouse) {
  button.HandleMouse(EVENT_HOVER, kInX, kInY);
  button.SetState(true, false);
  EXPECT_EQ(Look(), "---");
  button.Draw();
  EXPECT_TRUE(RecordedDraws().empty());
  EXPECT_FALSE(button.HandleMouse(EVENT_HELD, kInX, kInY));
  EXPECT_FALSE(button.pressed);

  button.SetState(true, true);
  EXPECT_EQ(Look(), "N--");
  EXPECT_FLOAT_EQ(button.normal.alpha, 1.0f);
}

TEST_F(ButtonTest, DrawsNormalPressedHoverInOrderAtTheGlobalAlpha) {
  button.pressedImage.hidden = false;
  button.hover.hidden = false;
  UiAlpha = 0.5f;
  button.Draw();
  EXPECT_EQ(RecordedDraws(), (std::vector<DrawCall>{RegionCall(kSquare25A, 990, 8, 25, 25, 127),
                                                    RegionCall(kSquare25B, 990, 8, 25, 25, 127),
                                                    RegionCall(kSquare25C, 990, 8, 25, 25, 127)}));
}

TEST_F(ButtonTest, ScaleStartsFromTheConstructionSize) {
  button.Scale(2.0f, 2.0f);
  button.Scale(0.5f, 1.5f);
  EXPECT_EQ(button.w, 12);
  EXPECT_EQ(button.h, 37);
  EXPECT_EQ(button.hover.w, 12);
  // The hit rectangle shrinks with it.
  EXPECT_FALSE(button.HandleMouse(EVENT_HELD, 1002, 10));
  EXPECT_TRUE(button.HandleMouse(EVENT_HELD, 1001, 45));
}

TEST_F(ButtonTest, SetPositionMovesEveryImage) {
  button.SetPosition(10, 20);
  EXPECT_EQ(button.normal.left, 10);
  EXPECT_EQ(button.pressedImage.top, 20);
  EXPECT_EQ(button.hover.left, 10);
  EXPECT_TRUE(button.HandleMouse(EVENT_HELD, 10, 45));
}
}  // namespace
