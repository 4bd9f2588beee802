#include "profile/profile_set.h"

WheelProfile ProfileSet[kProfileCount] = {};
std::int32_t CurrentProfile = 0;
