#pragma once
// The profile mapping's widgets on the main screen: the light checks, the level dots and the
// clock slider. Start-up installs it before the screen is built; until then, and after the
// screen is released, every check reads unchecked and the slider reads 0 and 0.

#include "profile/profile_controls.h"

class ScreenProfileControls final : public ProfileControls {
 public:
  bool Checked(ProfileCheck check) const override;
  // UICheck::SetChecked on the widget: no callback.
  void SetChecked(ProfileCheck check, bool checked) override;
  void SliderAngles(double* angle1, double* angle2) const override;
  // UIClockSlider::SetAngles.
  void SetSliderAngles(double angle1, double angle2) override;
};
