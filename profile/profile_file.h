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

// The checks in the order they run; the first that fails is reported. The last four say that a
// file could not be read at all, before any check.
enum class ProfileFileStatus {
  kOk,
  kBadMagic,
  kBadReserved,
  kBadLength,
  kBadCrc,
  kCannotOpen,
  kNotRegularFile,
  kReadError,
  kChanged,
};

// Fills the container with the header and the record.
void EncodeProfileFile(const WheelProfile& profile, ProfileFile& file);

// Checks magic, reserved word, length and CRC in that order; on success copies the record out.
// `profile` is left untouched when a check fails.
ProfileFileStatus CheckProfileFile(const ProfileFile& file, WheelProfile& profile);

// Checks `size` bytes as a container, the one rule for files and presets alike: a shorter run of
// bytes counts as padded with zeros (so an empty one fails the magic check), bytes beyond 116 are
// ignored. On success copies the record out; `profile` is left untouched otherwise.
ProfileFileStatus CheckProfileBytes(const std::uint8_t* bytes, std::size_t size,
                                    WheelProfile& profile);

// Reads the container at `path` (reading at most 116 bytes) and checks it by CheckProfileBytes.
// Anything but a regular file (a folder, a FIFO, a device) is refused before it is read, so
// nothing waits; so is a file whose size changes while it is read. `fileSize` (optional) receives
// the file's size, for a warning about extra bytes.
ProfileFileStatus LoadProfileContainer(const char* path, WheelProfile& profile,
                                       std::size_t* fileSize = nullptr);

// Whether `status` says the file could not be read, rather than that its bytes failed a check.
bool IsProfileFileUnreadable(ProfileFileStatus status);

// A sentence saying what a status means, for messages and logs.
const char* ProfileFileStatusText(ProfileFileStatus status);
