#pragma once
// Reading and writing ".cs270" files for the tool, by the same rule as the customiser's Load.

#include <string>

#include "profile/wheel_profile.h"

// Reads and checks the file at `path` by the profile-file rule (LoadProfileContainer). On failure
// `why` says what is wrong and `profile` is untouched. A file that passes although it is not 116
// bytes long gets a `warning` saying so; otherwise `warning` is empty.
bool ReadProfileFile(const std::string& path, WheelProfile& profile, std::string& why,
                     std::string& warning);

// Writes `profile` as a container to `path`, replacing the file whole (WriteFileAtomically).
bool WriteProfileFile(const std::string& path, const WheelProfile& profile, std::string& why);
