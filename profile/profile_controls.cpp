#include "profile/profile_controls.h"

namespace {
ProfileControls* installed = nullptr;
}  // namespace

void SetProfileControls(ProfileControls* controls) {
  installed = controls;
}

ProfileControls* CurrentProfileControls() {
  return installed;
}
