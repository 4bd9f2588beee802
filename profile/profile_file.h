#pragma once
// The 116-byte container of one profile record, the format of ".cs270" files and of downloaded
// presets: magic "CS27", a reserved zero word, the CRC of the record, its length (100), then the
// record. All words little-endian.

#include <cstddef>
#include <cstdint>

#include "profile/wheel_profile.h"

constexpr std::size_t kProfileFileSize = 116;
constexpr std::size_t kProfileFileMagicOffset = 0;
constexpr std::size_t kProfileFileReservedOffset = 4;
constexpr std::size_t kProfileFileCrcOffset = 8;
constexpr std::size_t kProfileFileLengthOffset = 12;
constexpr std::size_t kProfileFileRecordOffset = 16;
constexpr std::uint8_t kProfileFileMagic[4] = {'C', 'S', '2', '7'};

struct ProfileFile {
  std::uint8_t bytes[kProfileFileSize];
};
static_assert(sizeof(ProfileFile) == kProfileFileSize);
static_assert(kProfileFileRecordOffset + kProfileSize == kProfileFileSize);

// The checks in the order they run; the first that fails is reported.
enum class ProfileFileStatus { kOk, kBadMagic, kBadReserved, kBadLength, kBadCrc };

// Fills the container with the header and the record.
void EncodeProfileFile(const WheelProfile& profile, ProfileFile& file);

// Checks magic, reserved word, length and CRC in that order; on success copies the record out.
// `profile` is left untouched when a check fails.
ProfileFileStatus CheckProfileFile(const ProfileFile& file, WheelProfile& profile);

// A sentence saying what a status means, for messages and logs.
const char* ProfileFileStatusText(ProfileFileStatus status);
