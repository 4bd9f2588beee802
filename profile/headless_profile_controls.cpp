#include "profile/headless_profile_controls.h"

bool HeadlessProfileControls::Checked(ProfileCheck check) const {
  return checked_[static_cast<int>(check)];
}

void HeadlessProfileControls::SetChecked(ProfileCheck check, bool checked) {
  checked_[static_cast<int>(check)] = checked;
}

void HeadlessProfileControls::SliderAngles(double* angle1, double* angle2) const {
  *angle1 = angle1_;
  *angle2 = angle2_;
}

void HeadlessProfileControls::SetSliderAngles(double angle1, double angle2) {
  angle1_ = angle1;
  angle2_ = angle2;
}
