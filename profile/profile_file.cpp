#include "profile/profile_file.h"

#include <cstring>

#include "common/byte_order.h"
#include "common/firmware_crc.h"

void EncodeProfileFile(const WheelProfile& profile, ProfileFile& file) {
  std::memcpy(file.bytes + kProfileFileMagicOffset, kProfileFileMagic, sizeof kProfileFileMagic);
  StoreLe32(file.bytes + kProfileFileReservedOffset, 0);
  StoreLe32(file.bytes + kProfileFileLengthOffset, kProfileSize);
  std::memcpy(file.bytes + kProfileFileRecordOffset, profile.bytes.data(), kProfileSize);
  StoreLe32(file.bytes + kProfileFileCrcOffset,
            FirmwareCrc(file.bytes + kProfileFileRecordOffset, kProfileSize));
}

ProfileFileStatus CheckProfileFile(const ProfileFile& file, WheelProfile& profile) {
  const std::uint8_t* bytes = file.bytes;
  if (std::memcmp(bytes + kProfileFileMagicOffset, kProfileFileMagic, sizeof kProfileFileMagic)) {
    return ProfileFileStatus::kBadMagic;
  }
  if (LoadLe32(bytes + kProfileFileReservedOffset) != 0) return ProfileFileStatus::kBadReserved;
  if (LoadLe32(bytes + kProfileFileLengthOffset) != kProfileSize) {
    return ProfileFileStatus::kBadLength;
  }
  if (LoadLe32(bytes + kProfileFileCrcOffset) !=
      FirmwareCrc(bytes + kProfileFileRecordOffset, kProfileSize)) {
    return ProfileFileStatus::kBadCrc;
  }
  std::memcpy(profile.bytes.data(), bytes + kProfileFileRecordOffset, kProfileSize);
  return ProfileFileStatus::kOk;
}

const char* ProfileFileStatusText(ProfileFileStatus status) {
  switch (status) {
    case ProfileFileStatus::kOk:
      return "valid profile file";
    case ProfileFileStatus::kBadMagic:
      return "not a profile file (it does not begin with \"CS27\")";
    case ProfileFileStatus::kBadReserved:
      return "the reserved header word is not zero";
    case ProfileFileStatus::kBadLength:
      return "the record length is not 100";
    case ProfileFileStatus::kBadCrc:
      return "the record does not match its CRC";
  }
  return "unknown profile file status";
}
