#include "ui/check.h"

#include <gtest/gtest.h>

#include <string>

#include "callback_log.h"
#include "test_skin.h"

namespace {
// A 25 by 25 box at (396, 491) whose hover-checked image falls back to the hover image.
class CheckTest : public SkinTest {
 protected:
  void SetUp() override {
    CallbackLog().clear();
    box.callback = RecordCallback;
    box.userValue = 3;
  }
  // Which of unchecked, checked, hover and hover-checked are shown ("UCHK", '-' for hidden).
  std::string Look() const {
    std::string look;
    look += box.unchecked.hidden ? '-' : 'U';
    look += box.checkedImage.hidden ? '-' : 'C';
    look += box.hoverUnchecked.hidden ? '-' : 'H';
    look += box.hoverChecked.hidden ? '-' : 'K';
    return look;
  }

  UICheck box{21, kSquare25A, kSquare25B, kSquare25C, -1, 396, 491};
  static constexpr int kInX = 400, kInY = 500, kOutX = 300, kOutY = 500;
};

TEST_F(CheckTest, StartsUncheckedAndFallsBackToTheHoverRegion) {
  EXPECT_EQ(box.kind, KIND_CHECK);
  EXPECT_EQ(box.hoverChecked.region, kSquare25C);
  EXPECT_EQ(Look(), "U---");
  EXPECT_FALSE(box.checked);
  EXPECT_FALSE(box.radioMember);
  UICheck own(22, kSquare25A, kSquare25B, kSquare25C, kSquare25D, 0, 0);
  EXPECT_EQ(own.hoverChecked.region, kSquare25D);
}

TEST_F(CheckTest, ReleaseOverItTogglesAndCallsBack) {
  EXPECT_FALSE(box.HandleMouse(EVENT_HOVER, kInX, kInY));
  EXPECT_EQ(Look(), "--H-");
  EXPECT_TRUE(box.HandleMouse(EVENT_HELD, kInX, kInY));
  EXPECT_EQ(Look(), "-C--");  // the pressed look is the checked image
  EXPECT_TRUE(box.HandleMouse(EVENT_RELEASED, kInX, kInY));
  EXPECT_TRUE(box.checked);
  EXPECT_EQ(Look(), "-C--");
  ASSERT_EQ(CallbackLog().size(), 1u);
  EXPECT_EQ(CallbackLog()[0].event, EVENT_CLICKED);
  EXPECT_EQ(CallbackLog()[0].userValue, 3);
  EXPECT_TRUE(CallbackLog()[0].checkedAtCall);

  EXPECT_FALSE(box.HandleMouse(EVENT_HOVER, kInX, kInY));
  EXPECT_EQ(Look(), "---K");
  EXPECT_TRUE(box.HandleMouse(EVENT_RELEASED, kInX, kInY));
  EXPECT_FALSE(box.checked);
  EXPECT_EQ(CallbackLog().size(), 2u);
}

TEST_F(CheckTest, ReleaseTogglesEvenWhenThePressStartedElsewhere) {
  box.HandleMouse(EVENT_HELD, kOutX, kOutY);
  EXPECT_TRUE(box.HandleMouse(EVENT_RELEASED, kInX, kInY));
  EXPECT_TRUE(box.checked);
}

TEST_F(CheckTest, LeavingRestoresThePlainLook) {
  box.HandleMouse(EVENT_HELD, kInX, kInY);
  EXPECT_FALSE(box.HandleMouse(EVENT_HELD, kOutX, kOutY));
  EXPECT_EQ(Look(), "U---");
  EXPECT_FALSE(box.HandleMouse(EVENT_RELEASED, kOutX, kOutY));
  EXPECT_FALSE(box.checked);
  EXPECT_TRUE(CallbackLog().empty());
}

TEST_F(CheckTest, RadioMemberDoesNotToggleItself) {
  box.radioMember = true;
  EXPECT_TRUE(box.HandleMouse(EVENT_RELEASED, kInX, kInY));
  EXPECT_FALSE(box.checked);
  EXPECT_TRUE(CallbackLog().empty());
}

TEST_F(CheckTest, SetCheckedChangesOnlyTheFlagOfAHiddenBox) {
  box.SetChecked(true);
  EXPECT_EQ(Look(), "-C--");
  EXPECT_TRUE(CallbackLog().empty());
  box.SetState(true, false);
  EXPECT_EQ(Look(), "----");
  box.SetChecked(false);
  EXPECT_FALSE(box.checked);
  EXPECT_EQ(Look(), "----");
  box.ShowHover(true);
  EXPECT_EQ(Look(), "----");
  box.SetState(true, true);
  EXPECT_EQ(Look(), "U---");
}

TEST_F(CheckTest, DisabledBoxIsDimmedAndIgnoresTheMouse) {
  box.SetChecked(true);
  box.SetState(false, true);
  EXPECT_EQ(Look(), "-C--");
  EXPECT_FLOAT_EQ(box.checkedImage.alpha, 0.5f);
  EXPECT_FLOAT_EQ(box.hoverChecked.alpha, 0.5f);
  EXPECT_FALSE(box.HandleMouse(EVENT_RELEASED, kInX, kInY));
  EXPECT_TRUE(box.checked);
  box.Draw();
  ASSERT_EQ(RecordedDraws().size(), 1u);
  EXPECT_EQ(RecordedDraws()[0], RegionCall(kSquare25B, 396, 491, 25, 25, 127));
}

TEST_F(CheckTest, HitRectangleToThePixel) {
  EXPECT_TRUE(box.HandleMouse(EVENT_HELD, 396, 516));
  EXPECT_FALSE(box.HandleMouse(EVENT_HELD, 421, 500));
  EXPECT_TRUE(box.HandleMouse(EVENT_HELD, 420, 491));
  EXPECT_FALSE(box.HandleMouse(EVENT_HELD, 400, 517));
}

TEST_F(CheckTest, ScaleAndMoveCarryEveryImage) {
  box.Scale(0.5f, 0.5f);
  box.SetPosition(10, 10);
  EXPECT_EQ(box.w, 12);
  EXPECT_EQ(box.hoverChecked.w, 12);
  EXPECT_EQ(box.hoverChecked.left, 10);
  EXPECT_TRUE(box.HandleMouse(EVENT_RELEASED, 21, 22));
  EXPECT_FALSE(box.HandleMouse(EVENT_RELEASED, 22, 22));
}
}  // namespace
