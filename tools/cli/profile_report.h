#pragma once
// The decoded form of a profile record that `check` prints: lights, level, angles in degrees and
// what each input of the wheel does.

#include <cstdio>

#include "profile/wheel_profile.h"

// Prints `profile` to `out`, one setting or input per line.
void PrintProfile(const WheelProfile& profile, std::FILE* out);
