// The main screen as start-up builds it: panels, widgets, their ids, pictures, places and order,
// the clock slider's set-up, and the state the build leaves behind with and without a receiver.
#include <vector>

#include "app/main_screen.h"
#include "app/skin_regions.h"
#include "tests/app/shell_fixture.h"
#include "ui/button.h"
#include "ui/radio_group.h"
#include "ui/skin_link.h"

namespace {

std::vector<UIBase*> Children(const UIPanel* panel) {
  std::vector<UIBase*> children;
  for (UIBase* child = panel->first; child != nullptr; child = child->next)
    children.push_back(child);
  return children;
}

std::vector<UICheck*> Members(const UIBase* group) {
  std::vector<UICheck*> members;
  const auto* radio = static_cast<const UIRadioGroup*>(group);
  for (UIBase* member = radio->first; member != nullptr; member = member->next) {
    members.push_back(static_cast<UICheck*>(member));
  }
  return members;
}

struct ButtonSpec {
  int id;
  int normal, pressed, hover;
  int x, y;
};

void ExpectButton(const UIBase* control, const ButtonSpec& spec, bool wantsCallback) {
  ASSERT_EQ(control->kind, KIND_BUTTON) << spec.id;
  const auto* button = static_cast<const UIButton*>(control);
  EXPECT_EQ(button->id, spec.id);
  EXPECT_EQ(button->normal.region, spec.normal) << spec.id;
  EXPECT_EQ(button->pressedImage.region, spec.pressed) << spec.id;
  EXPECT_EQ(button->hover.region, spec.hover) << spec.id;
  EXPECT_EQ(button->x, spec.x) << spec.id;
  EXPECT_EQ(button->y, spec.y) << spec.id;
  EXPECT_FALSE(button->notifyHover) << spec.id;
  EXPECT_EQ(button->userValue, 0) << spec.id;
  EXPECT_EQ(button->callback != nullptr, wantsCallback) << spec.id;
}

struct CheckSpec {
  int id;
  int unchecked, checked, hover, hoverChecked;
  int x, y;
};

void ExpectCheck(const UIBase* control, const CheckSpec& spec) {
  ASSERT_EQ(control->kind, KIND_CHECK) << spec.id;
  const auto* box = static_cast<const UICheck*>(control);
  EXPECT_EQ(box->id, spec.id);
  EXPECT_EQ(box->unchecked.region, spec.unchecked) << spec.id;
  EXPECT_EQ(box->checkedImage.region, spec.checked) << spec.id;
  EXPECT_EQ(box->hoverUnchecked.region, spec.hover) << spec.id;
  EXPECT_EQ(box->hoverChecked.region, spec.hoverChecked) << spec.id;
  EXPECT_EQ(box->x, spec.x) << spec.id;
  EXPECT_EQ(box->y, spec.y) << spec.id;
}

class MainScreenBuild : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    UiLinkSkin(kSkinRegions, kSkinRegionCount);
  }
  void TearDown() override {
    ReleaseMainScreen();
    UiLinkSkin(nullptr, 0);
    ShellTest::TearDown();
  }
};

TEST_F(MainScreenBuild, WindowButtonsInReverseOrderOfCreation) {
  BuildMainScreen();
  ASSERT_NE(WindowButtonsPanel, nullptr);
  EXPECT_EQ(WindowButtonsPanel->x, 0);
  EXPECT_EQ(WindowButtonsPanel->y, 0);
  const std::vector<UIBase*> buttons = Children(WindowButtonsPanel);
  ASSERT_EQ(buttons.size(), 4u);
  // Created 1, 2, 4, 3; a panel's list runs newest first.
  ExpectButton(buttons[0], {3, 0, 1, 2, 13, 18}, true);
  ExpectButton(buttons[1], {4, 25, 26, 27, 990, 64}, true);
  ExpectButton(buttons[2], {2, 35, 36, 37, 990, 36}, true);
  ExpectButton(buttons[3], {1, 15, 16, 17, 990, 8}, true);
}

TEST_F(MainScreenBuild, ProfileBarWithItsLightsAndLevel) {
  BuildMainScreen();
  ASSERT_NE(ProfileBarPanel, nullptr);
  const std::vector<UIBase*> bar = Children(ProfileBarPanel);
  ASSERT_EQ(bar.size(), 9u);
  ExpectButton(bar[0], {103, 54, 52, 53, 699, 5}, true);
  ExpectButton(bar[1], {102, 70, 68, 69, 629, 5}, true);
  ExpectButton(bar[2], {101, 33, 31, 32, 562, 5}, true);
  ASSERT_EQ(bar[3]->kind, KIND_RADIO_GROUP);
  ExpectCheck(bar[4], {22, 20, 22, 21, 21, 491, 491});
  ExpectCheck(bar[5], {21, 59, 61, 60, 60, 396, 491});
  ExpectButton(bar[6], {13, 66, 64, 65, 268, 491}, true);
  ExpectButton(bar[7], {12, 5, 3, 4, 160, 491}, true);
  ExpectButton(bar[8], {11, 14, 12, 13, 54, 491}, true);
  EXPECT_EQ(RearLightCheck, bar[5]);
  EXPECT_EQ(FrontLightCheck, bar[4]);
  EXPECT_FALSE(RearLightCheck->checked);
  EXPECT_FALSE(FrontLightCheck->checked);
  EXPECT_FALSE(RearLightCheck->radioMember);

  const std::vector<UICheck*> level = Members(bar[3]);
  ASSERT_EQ(level.size(), 3u);
  ExpectCheck(level[0], {33, 57, 58, 56, 56, 630, 531});
  ExpectCheck(level[1], {32, 57, 58, 56, 56, 599, 531});
  ExpectCheck(level[2], {31, 57, 58, 56, 56, 568, 531});
  EXPECT_EQ(LevelHighCheck, level[0]);
  EXPECT_EQ(LevelMedCheck, level[1]);
  EXPECT_EQ(LevelLowCheck, level[2]);
  for (const UICheck* dot : level) {
    EXPECT_TRUE(dot->radioMember) << dot->id;
    EXPECT_EQ(dot->callback, nullptr) << "the level is read when the profile is captured";
  }
  EXPECT_TRUE(LevelLowCheck->checked);
  EXPECT_FALSE(LevelMedCheck->checked);
  EXPECT_FALSE(LevelHighCheck->checked);
}

TEST_F(MainScreenBuild, ProfileDiscsWithTheFirstChosen) {
  BuildMainScreen();
  ASSERT_NE(ProfileSelectionPanel, nullptr);
  const std::vector<UIBase*> children = Children(ProfileSelectionPanel);
  ASSERT_EQ(children.size(), 1u);
  ASSERT_EQ(children[0]->kind, KIND_RADIO_GROUP);
  const std::vector<UICheck*> discs = Members(children[0]);
  ASSERT_EQ(discs.size(), 3u);
  ExpectCheck(discs[0], {23, 47, 48, 48, 48, 902, 5});
  ExpectCheck(discs[1], {22, 45, 46, 46, 46, 840, 5});
  ExpectCheck(discs[2], {21, 43, 44, 44, 44, 779, 5});
  for (const UICheck* disc : discs) {
    EXPECT_TRUE(disc->radioMember) << disc->id;
    EXPECT_NE(disc->callback, nullptr) << disc->id;
    EXPECT_EQ(disc->userValue, 0) << disc->id;
  }
  EXPECT_FALSE(discs[0]->checked);
  EXPECT_FALSE(discs[1]->checked);
  EXPECT_TRUE(discs[2]->checked);
}

TEST_F(MainScreenBuild, ClockSliderSetUp) {
  BuildMainScreen();
  ASSERT_NE(SliderPanel, nullptr);
  const std::vector<UIBase*> children = Children(SliderPanel);
  ASSERT_EQ(children.size(), 1u);
  ASSERT_EQ(children[0], AngleSlider);
  const UIClockSlider& slider = *AngleSlider;
  EXPECT_EQ(slider.kind, KIND_CLOCK_SLIDER);
  EXPECT_EQ(slider.id, 0);
  EXPECT_EQ(slider.x, 510);
  EXPECT_EQ(slider.y, 276);
  EXPECT_EQ(slider.panel, SliderPanel);
  EXPECT_TRUE(slider.mirror);
  EXPECT_EQ(slider.lower, 0);
  EXPECT_EQ(slider.upper, 135);
  EXPECT_FALSE(slider.reverse);
  EXPECT_EQ(slider.radius, 220);
  EXPECT_EQ(slider.fanAlpha, 190);
  EXPECT_EQ(slider.angle1, 0);
  EXPECT_EQ(slider.angle2, 90);
  // The limit marks 230 pixels out at 0 and 135 degrees.
  EXPECT_EQ(slider.mark1X, 510);
  EXPECT_EQ(slider.mark1Y, 46);
  EXPECT_EQ(slider.mark2X, 672);
  EXPECT_EQ(slider.mark2Y, 438);
  // The tyre is 53 by 53: the hub 1.5 times, the handles 0.75 times (39), the hover images
  // 1.25 times and then 0.8 times (66, then 52).
  EXPECT_EQ(slider.hub.region, 71);
  EXPECT_EQ(slider.hub.w, 79);
  for (const UIImage* handle : {&slider.handle1, &slider.handle2}) {
    EXPECT_EQ(handle->region, 71);
    EXPECT_EQ(handle->w, 39);
    EXPECT_EQ(handle->h, 39);
  }
  for (const UIImage* hover : {&slider.hover1, &slider.hover2}) {
    EXPECT_EQ(hover->w, 52);
    EXPECT_EQ(hover->h, 52);
    EXPECT_TRUE(hover->hidden);
  }
  // Angle 0 puts handle 1 at (510, 56), angle 90 handle 2 at (730, 276), centred.
  EXPECT_EQ(slider.handle1.anchorX, 510);
  EXPECT_EQ(slider.handle1.anchorY, 56);
  EXPECT_EQ(slider.handle1.left, 510 - 19);
  EXPECT_EQ(slider.handle2.anchorX, 730);
  EXPECT_EQ(slider.handle2.anchorY, 276);
  EXPECT_EQ(slider.hover2.left, 730 - 26);
}

TEST_F(MainScreenBuild, WithoutAReceiverTheScreenWaitsDisabled) {
  AppState = APP_PRESET_DIALOG;  // the build starts over from the main screen
  QuitRequested = true;
  BuildMainScreen();
  EXPECT_FALSE(QuitRequested);
  EXPECT_EQ(AppState, APP_NO_RECEIVER);
  EXPECT_EQ(StateBeforeUnplug, APP_MAIN_SCREEN);
  EXPECT_EQ(CurrentProfile, 0);
  for (UIPanel* panel : {ProfileSelectionPanel, ProfileBarPanel}) {
    for (UIBase* child : Children(panel)) {
      if (child->kind == KIND_RADIO_GROUP) continue;  // passes the state to its members
      EXPECT_FALSE(child->enabled) << child->id;
      EXPECT_TRUE(child->visible) << child->id;
    }
  }
  for (UICheck* disc : Members(ProfileSelectionPanel->first)) {
    EXPECT_FALSE(disc->enabled) << disc->id;
    EXPECT_TRUE(disc->visible) << disc->id;
  }
  for (UIBase* child : Children(WindowButtonsPanel)) EXPECT_TRUE(child->enabled) << child->id;
  for (UICheck* dot : {LevelLowCheck, LevelMedCheck, LevelHighCheck}) {
    EXPECT_FALSE(dot->enabled);
    EXPECT_EQ(dot->unchecked.alpha, 0.5f);
  }
  for (int p = 0; p < 3; ++p) EXPECT_EQ(ProfileActionRows[p][0], -1);
  EXPECT_EQ(ControlLabelRect[0].left, -1);
}

TEST_F(MainScreenBuild, WithAReceiverTheFirstProfileIsShown) {
  ReceiverConnected = 1;
  AppState = APP_MAIN_SCREEN;
  BuildMainScreen();
  ReceiverConnected = 0;
  EXPECT_EQ(AppState, APP_MAIN_SCREEN);
  EXPECT_EQ(ShownProfile, 0);
  EXPECT_TRUE(RearLightCheck->enabled);
  // The profile state was emptied: profile 1 shows no labels, level Low, lights off, and the
  // slider stands at 0 and 135 degrees (angleB 32767).
  EXPECT_EQ(ControlActions[0], -1);
  EXPECT_TRUE(LevelLowCheck->checked);
  EXPECT_FALSE(RearLightCheck->checked);
  EXPECT_DOUBLE_EQ(AngleSlider->angle1, 0);
  EXPECT_DOUBLE_EQ(AngleSlider->angle2, 135);
}

TEST_F(MainScreenBuild, ReleaseForgetsEveryWidget) {
  BuildMainScreen();
  ReleaseMainScreen();
  EXPECT_EQ(WindowButtonsPanel, nullptr);
  EXPECT_EQ(ProfileBarPanel, nullptr);
  EXPECT_EQ(ProfileSelectionPanel, nullptr);
  EXPECT_EQ(SliderPanel, nullptr);
  EXPECT_EQ(RearLightCheck, nullptr);
  EXPECT_EQ(LevelHighCheck, nullptr);
  EXPECT_EQ(AngleSlider, nullptr);
  ReleaseMainScreen();  // a second release finds nothing to free
  BuildMainScreen();    // and the screen can be built again
  EXPECT_NE(AngleSlider, nullptr);
}

}  // namespace
