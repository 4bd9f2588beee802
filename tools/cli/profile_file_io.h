#pragma once
// Reading and writing ".cs270" files for the tool. Reading is strict: a file must be exactly one
// container long and pass every check before its record is used.

#include <string>

#include "profile/wheel_profile.h"

// Reads and checks the file at `path`; on failure `why` says what is wrong and `profile` is
// untouched.
bool ReadProfileFile(const std::string& path, WheelProfile& profile, std::string& why);

// Writes `profile` as a container to `path` through a temporary file, so an existing file is
// never left half-written.
bool WriteProfileFile(const std::string& path, const WheelProfile& profile, std::string& why);
