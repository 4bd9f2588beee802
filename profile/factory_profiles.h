#pragma once
// The three built-in profile records: used by Reset to default and by a receiver that has never
// stored profiles.

#include "profile/wheel_profile.h"

extern const WheelProfile FactoryProfiles[kProfileCount];
