#pragma once
// The decoded form of a profile record that `check` prints: lights, level, angles in degrees and
// what each input of the wheel does.

#include <cstdio>
#include <string>

#include "profile/wheel_profile.h"
#include "tools/cli/json_writer.h"

// Prints `profile` to `out`, one setting or input per line.
void PrintProfile(const WheelProfile& profile, std::FILE* out);

// The settings in one line: "rear light on, front light on, level Med, angles 12.4 and 135.0
// degrees".
std::string ProfileSummary(const WheelProfile& profile);

// Writes `profile` as a JSON object: rearLight, frontLight, level, angleA and angleB in degrees,
// and with `withInputs` an "inputs" array of {input, action} (action null for none).
void WriteProfileJson(JsonWriter& json, const WheelProfile& profile, bool withInputs);
