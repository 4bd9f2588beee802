#include "profile/profile_file.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "common/byte_order.h"
#include "common/firmware_crc.h"
#include "common/regular_file.h"

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

ProfileFileStatus CheckProfileBytes(const std::uint8_t* bytes, std::size_t size,
                                    WheelProfile& profile) {
  ProfileFile file{};
  std::memcpy(file.bytes, bytes, std::min(size, kProfileFileSize));
  return CheckProfileFile(file, profile);
}

namespace {

bool SameFileState(const RegularFile::Facts& a, const RegularFile::Facts& b) {
  return a.size == b.size && a.modifiedNs == b.modifiedNs;
}

}  // namespace

ProfileFileStatus LoadProfileContainer(const char* path, WheelProfile& profile,
                                       std::size_t* fileSize) {
  RegularFile file;
  std::string why;
  switch (file.Open(path, true, why)) {
    case RegularFile::OpenResult::kOpened:
      break;
    case RegularFile::OpenResult::kCannotOpen:
      return ProfileFileStatus::kCannotOpen;
    case RegularFile::OpenResult::kLink:
    case RegularFile::OpenResult::kNotRegular:
      return ProfileFileStatus::kNotRegularFile;
  }
  RegularFile::Facts before;
  if (!file.Look(before)) return ProfileFileStatus::kReadError;
  std::uint8_t bytes[kProfileFileSize] = {};
  const long got = file.Read(bytes, sizeof bytes);
  RegularFile::Facts after;
  const bool looked = file.Look(after);
  file.Close();
  if (got < 0 || !looked) return ProfileFileStatus::kReadError;
  const auto expected = std::min<std::uint64_t>(before.size, kProfileFileSize);
  if (static_cast<std::uint64_t>(got) != expected || !SameFileState(before, after)) {
    return ProfileFileStatus::kChanged;
  }
  if (fileSize != nullptr) *fileSize = static_cast<std::size_t>(before.size);
  return CheckProfileBytes(bytes, static_cast<std::size_t>(got), profile);
}

bool IsProfileFileUnreadable(ProfileFileStatus status) {
  return status == ProfileFileStatus::kCannotOpen || status == ProfileFileStatus::kNotRegularFile ||
         status == ProfileFileStatus::kReadError || status == ProfileFileStatus::kChanged;
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
    case ProfileFileStatus::kCannotOpen:
      return "cannot open the file";
    case ProfileFileStatus::kNotRegularFile:
      return "not a regular file";
    case ProfileFileStatus::kReadError:
      return "the file could not be read";
    case ProfileFileStatus::kChanged:
      return "the file changed while it was read";
  }
  return "unknown profile file status";
}
