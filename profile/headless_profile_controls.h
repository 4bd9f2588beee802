#pragma once
// The profile controls of programs without a screen, such as the command-line tool: they keep
// what the mapping gives them, so that a later capture reads back what was shown.

#include "profile/profile_controls.h"

class HeadlessProfileControls final : public ProfileControls {
 public:
  bool Checked(ProfileCheck check) const override;
  void SetChecked(ProfileCheck check, bool checked) override;
  void SliderAngles(double* angle1, double* angle2) const override;
  void SetSliderAngles(double angle1, double angle2) override;

 private:
  static constexpr int kCheckCount = 5;
  bool checked_[kCheckCount] = {};
  double angle1_ = 0;
  double angle2_ = 0;
};
