#pragma once
// A backup of all three profiles as one file: the three 116-byte profile containers (".cs270"
// format) of profiles 1, 2 and 3, one after the other, 348 bytes in all.

#include <cstddef>
#include <cstdint>
#include <string>

#include "profile/profile_file.h"
#include "profile/wheel_profile.h"

constexpr std::size_t kProfileBackupSize = kProfileCount * kProfileFileSize;

// Fills `bytes` (kProfileBackupSize long) with the containers of the three records.
void EncodeProfileBackup(const WheelProfile (&records)[kProfileCount], std::uint8_t* bytes);

// Checks `size` bytes as a backup: exactly 348 bytes, each container passing the profile-file
// check. On success copies the three records out; on failure leaves them untouched and `why` says
// which profile failed and how.
bool DecodeProfileBackup(const std::uint8_t* bytes, std::size_t size,
                         WheelProfile (&records)[kProfileCount], std::string& why);

// Reads and checks the backup at `path`. Anything but a regular file is refused before it is read.
bool ReadProfileBackup(const std::string& path, WheelProfile (&records)[kProfileCount],
                       std::string& why);

// Writes the backup of `records` to `path`, replacing the file whole (WriteFileAtomically).
bool WriteProfileBackup(const std::string& path, const WheelProfile (&records)[kProfileCount],
                        std::string& why);
