#include "app/screen_profile_controls.h"

#include "app/main_screen.h"

namespace {

UICheck* CheckWidget(ProfileCheck check) {
  switch (check) {
    case ProfileCheck::kRearLight:
      return RearLightCheck;
    case ProfileCheck::kFrontLight:
      return FrontLightCheck;
    case ProfileCheck::kLow:
      return LevelLowCheck;
    case ProfileCheck::kMed:
      return LevelMedCheck;
    case ProfileCheck::kHigh:
      return LevelHighCheck;
  }
  return nullptr;
}

}  // namespace

bool ScreenProfileControls::Checked(ProfileCheck check) const {
  const UICheck* box = CheckWidget(check);
  return box != nullptr && box->checked;
}

void ScreenProfileControls::SetChecked(ProfileCheck check, bool checked) {
  if (UICheck* box = CheckWidget(check)) box->SetChecked(checked);
}

void ScreenProfileControls::SliderAngles(double* angle1, double* angle2) const {
  *angle1 = AngleSlider != nullptr ? AngleSlider->angle1 : 0;
  *angle2 = AngleSlider != nullptr ? AngleSlider->angle2 : 0;
}

void ScreenProfileControls::SetSliderAngles(double angle1, double angle2) {
  if (AngleSlider != nullptr) AngleSlider->SetAngles(angle1, angle2);
}
