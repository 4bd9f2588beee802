#include "app/main_screen.h"

#include <cassert>
#include <initializer_list>

#include "app/action_drag.h"
#include "app/drag_band.h"
#include "app/frame_functions.h"
#include "app/main_screen_callbacks.h"
#include "app/main_screen_ids.h"
#include "app/main_screen_input.h"
#include "app/profile_switch.h"
#include "app/skin_regions.h"
#include "common/app_state.h"
#include "device/connection.h"
#include "profile/profile_mapping.h"
#include "profile/profile_set.h"
#include "profile/profile_state.h"
#include "ui/button.h"
#include "ui/radio_group.h"

UIPanel* WindowButtonsPanel = nullptr;
UIPanel* ProfileBarPanel = nullptr;
UIPanel* ProfileSelectionPanel = nullptr;
UIPanel* SliderPanel = nullptr;
UICheck* RearLightCheck = nullptr;
UICheck* FrontLightCheck = nullptr;
UICheck* LevelLowCheck = nullptr;
UICheck* LevelMedCheck = nullptr;
UICheck* LevelHighCheck = nullptr;
UIClockSlider* AngleSlider = nullptr;

namespace {

constexpr int kNoHoverChecked = -1;  // the hover image serves checked boxes too
constexpr int kSliderCentreX = 510;  // the middle of the wheel picture
constexpr int kSliderCentreY = 276;
constexpr int kSliderLower = 0;
constexpr int kSliderUpper = 135;
constexpr double kSliderRadius = 220;
constexpr int kSliderFanAlpha = 190;
constexpr float kHandleScale = 0.75f;
constexpr float kHoverScale = 0.8f;

UIButton* AddButton(UIPanel* panel, int id, int normal, int pressed, int hover, int x, int y,
                    WidgetCallback callback) {
  auto* button = new UIButton(id, normal, pressed, hover, x, y, false);
  button->callback = callback;
  button->userValue = 0;
  panel->AddChild(button);
  return button;
}

UICheck* AddRadioMember(UIRadioGroup* group, int id, int unchecked, int checked, int hover, int x,
                        int y, WidgetCallback callback = nullptr) {
  auto* member = new UICheck(id, unchecked, checked, hover, kNoHoverChecked, x, y);
  member->radioMember = true;
  member->callback = callback;
  member->userValue = 0;
  group->AddMember(member);
  return member;
}

void BuildWindowButtons() {
  WindowButtonsPanel = new UIPanel(0, 0);
  UIPanel* panel = WindowButtonsPanel;
  AddButton(panel, kCloseButtonId, kRegionCloseNormal, kRegionClosePressed, kRegionCloseHover, 990,
            8, WindowButtonsCallback);
  AddButton(panel, kMinimiseButtonId, kRegionMinimiseNormal, kRegionMinimisePressed,
            kRegionMinimiseHover, 990, 36, WindowButtonsCallback);
  AddButton(panel, kAboutButtonId, kRegionQuestionNormal, kRegionQuestionPressed,
            kRegionQuestionHover, 990, 64, WindowButtonsCallback);
  AddButton(panel, kSupportButtonId, kRegionInfoNormal, kRegionInfoPressed, kRegionInfoHover, 13,
            18, WindowButtonsCallback);
}

void BuildProfileBar() {
  ProfileBarPanel = new UIPanel(0, 0);
  UIPanel* panel = ProfileBarPanel;
  AddButton(panel, kClearMapButtonId, kRegionClearMapNormal, kRegionClearMapPressed,
            kRegionClearMapHover, 54, 491, ProfileBarCallback);
  AddButton(panel, kAssignButtonId, kRegionAssignNormal, kRegionAssignPressed, kRegionAssignHover,
            160, 491, ProfileBarCallback);
  AddButton(panel, kResetButtonId, kRegionResetNormal, kRegionResetPressed, kRegionResetHover, 268,
            491, ProfileBarCallback);

  RearLightCheck =
      new UICheck(kRearLightCheckId, kRegionRearLightUnchecked, kRegionRearLightChecked,
                  kRegionRearLightHover, kNoHoverChecked, 396, 491);
  panel->AddChild(RearLightCheck);
  FrontLightCheck =
      new UICheck(kFrontLightCheckId, kRegionFrontLightUnchecked, kRegionFrontLightChecked,
                  kRegionFrontLightHover, kNoHoverChecked, 491, 491);
  panel->AddChild(FrontLightCheck);

  auto* level = new UIRadioGroup(kRadioGroupId, 0, 0);
  LevelLowCheck = AddRadioMember(level, kLevelLowCheckId, kRegionLevelDotUnchecked,
                                 kRegionLevelDotChecked, kRegionLevelDotHover, 568, 531);
  LevelMedCheck = AddRadioMember(level, kLevelMedCheckId, kRegionLevelDotUnchecked,
                                 kRegionLevelDotChecked, kRegionLevelDotHover, 599, 531);
  LevelHighCheck = AddRadioMember(level, kLevelHighCheckId, kRegionLevelDotUnchecked,
                                  kRegionLevelDotChecked, kRegionLevelDotHover, 630, 531);
  LevelLowCheck->SetChecked(true);
  panel->AddChild(level);

  AddButton(panel, kLoadButtonId, kRegionLoadNormal, kRegionLoadPressed, kRegionLoadHover, 562, 5,
            ProfileBarCallback);
  AddButton(panel, kSaveButtonId, kRegionSaveNormal, kRegionSavePressed, kRegionSaveHover, 629, 5,
            ProfileBarCallback);
  AddButton(panel, kPresetsButtonId, kRegionPresetsNormal, kRegionPresetsPressed,
            kRegionPresetsHover, 699, 5, ProfileBarCallback);
}

void BuildProfileSelection() {
  ProfileSelectionPanel = new UIPanel(0, 0);
  auto* discs = new UIRadioGroup(kRadioGroupId, 0, 0);
  UICheck* first =
      AddRadioMember(discs, kProfileDisc1Id, kRegionDisc1Unchecked, kRegionDisc1Checked,
                     kRegionDisc1Checked, 779, 5, ProfileRadioCallback);
  first->SetChecked(true);
  AddRadioMember(discs, kProfileDisc2Id, kRegionDisc2Unchecked, kRegionDisc2Checked,
                 kRegionDisc2Checked, 840, 5, ProfileRadioCallback);
  AddRadioMember(discs, kProfileDisc3Id, kRegionDisc3Unchecked, kRegionDisc3Checked,
                 kRegionDisc3Checked, 902, 5, ProfileRadioCallback);
  ProfileSelectionPanel->AddChild(discs);
}

void Scale(UIImage& image, float factor) {
  image.Resize(static_cast<int>(static_cast<float>(image.w) * factor),
               static_cast<int>(static_cast<float>(image.h) * factor));
}

void BuildSlider() {
  SliderPanel = new UIPanel(0, 0);
  AngleSlider = new UIClockSlider(kClockSliderId, kRegionTyre, kRegionTyre, kRegionTyre,
                                  kSliderCentreX, kSliderCentreY, SliderPanel);
  UIClockSlider& slider = *AngleSlider;
  slider.mirror = true;
  slider.SetRange(kSliderLower, kSliderUpper);
  slider.SetAngles(kSliderLower, kSliderUpper);
  slider.radius = kSliderRadius;
  slider.Layout();
  slider.fanAlpha = kSliderFanAlpha;
  // The handles shrink to 0.75 and their hover images (1.25 times the tyre) to 0.8, so that a
  // hovered handle grows a little.
  Scale(slider.handle1, kHandleScale);
  Scale(slider.handle2, kHandleScale);
  Scale(slider.hover1, kHoverScale);
  Scale(slider.hover2, kHoverScale);
  slider.SetAngles(0, 90);
  SliderPanel->AddChild(AngleSlider);
}

void SetMainPanelsEnabled(bool enabled) {
  for (UIPanel* panel : {ProfileSelectionPanel, ProfileBarPanel, SliderPanel}) {
    if (panel != nullptr) panel->SetState(enabled, true);
  }
}

}  // namespace

void BuildMainScreen() {
  assert(WindowButtonsPanel == nullptr && "the main screen is built once");
  AppState = APP_MAIN_SCREEN;
  QuitRequested = false;
  BuildWindowButtons();
  BuildProfileBar();
  BuildProfileSelection();
  BuildSlider();
  InitProfileState();
  CurrentProfile = 0;
  CancelDrag();
  ForgetProfileSwitch();
  InstallMainScreenHandlers();
  TakeDragBandFromScreen();
  if (ReceiverConnected != 0) {
    ShowProfile(0, false);
    return;
  }
  if (AppState <= APP_PRESET_DIALOG) {
    StateBeforeUnplug = AppState;
    AppState = APP_NO_RECEIVER;
    SetMainPanelsEnabled(false);
  }
}

void SetControlsEnabled(int on) {
  if (AppState >= APP_UPDATE_REQUESTED) return;
  if (on == 0) {
    // The no-receiver state is never saved as the one to return to.
    if (AppState != APP_NO_RECEIVER) StateBeforeUnplug = AppState;
    AppState = APP_NO_RECEIVER;
    // Every drag ends here: a tile held now would land on what the receiver brings back, and a
    // slider handle would follow the pointer on its return with no button down. The slider is
    // put back at the shown profile's angles when the receiver returns.
    CancelDrag();
    if (AngleSlider != nullptr) AngleSlider->EndDrag();
    SetMainPanelsEnabled(false);
  } else if (on == 1) {
    AppState = StateBeforeUnplug;
    SetMainPanelsEnabled(true);
    SliderToSettings(false, true);
  }
}

void ReleaseMainScreen() {
  RemoveMainScreenHandlers();
  CancelDrag();
  ForgetProfileSwitch();
  for (UIPanel** panel :
       {&WindowButtonsPanel, &ProfileBarPanel, &ProfileSelectionPanel, &SliderPanel}) {
    delete *panel;
    *panel = nullptr;
  }
  RearLightCheck = FrontLightCheck = nullptr;
  LevelLowCheck = LevelMedCheck = LevelHighCheck = nullptr;
  AngleSlider = nullptr;
  TakeDragBandFromScreen();
}
