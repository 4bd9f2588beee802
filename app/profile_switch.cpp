#include "app/profile_switch.h"

#include "app/main_screen.h"
#include "app/main_screen_input.h"
#include "common/app_state.h"
#include "profile/profile_mapping.h"
#include "profile/profile_set.h"
#include "profile/profile_state.h"
#include "profile/wheel_profile.h"

double LabelSlideProgress = 0;
int RequestedProfile = 0;
SlideAnimation ProfileSlide;

namespace {

constexpr int kSlideSteps = 30;
constexpr double kMiddleAngle = 90;
// From the start of a switch until its end, its own or one forced on the main screen.
bool switchRunning = false;

void StartEaseOut(Tween& tween, int family, double from, double to) {
  tween.Start(family, TWEEN_OUT, kSlideSteps, from, to, 0, 0);
}

// Half-way: the chosen profile becomes current and is shown; the handles head for its angles.
void SwitchIn() {
  CurrentProfile = RequestedProfile;
  ShowProfile(RequestedProfile, true);
  StartEaseOut(ProfileSlide.angle1, TWEEN_EXPONENTIAL, kMiddleAngle,
               AngleToDegrees(WorkingSettings.angleA));
  StartEaseOut(ProfileSlide.angle2, TWEEN_EXPONENTIAL, kMiddleAngle,
               AngleToDegrees(WorkingSettings.angleB));
  StartEaseOut(ProfileSlide.progress, TWEEN_BOUNCE, 1, 0);
  AppState = APP_SWITCH_SECOND_HALF;
}

void Finish() {
  switchRunning = false;
  AppState = APP_MAIN_SCREEN;
  // The bounce ends on 0 only up to rounding; the labels must stand exactly in place.
  LabelSlideProgress = 0;
  SliderToSettings(false, false);
}

}  // namespace

void StartProfileSwitch(int profile) {
  RequestedProfile = profile;
  const double angle1 = AngleSlider != nullptr ? AngleSlider->angle1 : 0;
  const double angle2 = AngleSlider != nullptr ? AngleSlider->angle2 : 0;
  StartEaseOut(ProfileSlide.angle1, TWEEN_EXPONENTIAL, angle1, kMiddleAngle);
  StartEaseOut(ProfileSlide.angle2, TWEEN_EXPONENTIAL, angle2, kMiddleAngle);
  StartEaseOut(ProfileSlide.progress, TWEEN_EXPONENTIAL, 0, 1);
  switchRunning = true;
  AppState = APP_SWITCH_FIRST_HALF;
}

int AnimationStep() {
  IgnorePressDuringSwitch();
  LabelSlideProgress = ProfileSlide.progress.Next();
  const double angle1 = ProfileSlide.angle1.Next();
  const double angle2 = ProfileSlide.angle2.Next();
  if (AngleSlider != nullptr) AngleSlider->SetAngles(angle1, angle2);
  if (!ProfileSlide.progress.Done()) return 0;
  if (AppState == APP_SWITCH_FIRST_HALF) {
    SwitchIn();
  } else if (AppState == APP_SWITCH_SECOND_HALF) {
    Finish();
  }
  return 0;
}

bool ProfileSwitchUnfinished() {
  return switchRunning;
}

void CompleteProfileSwitch() {
  if (!switchRunning) return;
  if (ShownProfile != RequestedProfile) {
    CurrentProfile = RequestedProfile;
    ShowProfile(RequestedProfile, true);
  }
  Finish();
}

void ForgetProfileSwitch() {
  switchRunning = false;
  LabelSlideProgress = 0;
}
