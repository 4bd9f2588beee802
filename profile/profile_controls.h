#pragma once
// The widgets the profile mapping reads and sets: the Rear Light and Front Light checks, the
// Low, Med and High dots of the level, and the two angles of the clock slider. The screen
// implements them over its widgets and start-up installs it before the screen is built; programs
// without a screen install one that only keeps the values.

enum class ProfileCheck { kRearLight, kFrontLight, kLow, kMed, kHigh };

class ProfileControls {
 public:
  // Whether the check is checked.
  virtual bool Checked(ProfileCheck check) const = 0;
  // Checks or unchecks it without calling any callback.
  virtual void SetChecked(ProfileCheck check, bool checked) = 0;
  // The slider's two angles in degrees.
  virtual void SliderAngles(double* angle1, double* angle2) const = 0;
  // Puts the slider's two handles at these angles, in degrees.
  virtual void SetSliderAngles(double angle1, double angle2) = 0;

 protected:
  ~ProfileControls() = default;
};

// Makes `controls` the widgets the mapping works on; it must outlive every call of the mapping.
// Null removes them, after which the mapping logs the omission and leaves the widgets alone.
void SetProfileControls(ProfileControls* controls);
// The controls installed, or null.
ProfileControls* CurrentProfileControls();
