#pragma once
// The program's working copy of the three profiles and the index of the one shown.

#include <cstdint>

#include "profile/wheel_profile.h"

// The three records, all zero until a receiver has been read.
extern WheelProfile ProfileSet[kProfileCount];
// The profile chosen with the profile buttons, 0..2 (shown as 1..3).
extern std::int32_t CurrentProfile;
