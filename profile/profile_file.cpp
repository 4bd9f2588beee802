#include "profile/profile_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "common/byte_order.h"
#include "common/firmware_crc.h"
#include "common/read_up_to.h"

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

bool SameFileState(const struct stat& a, const struct stat& b) {
  return a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec &&
         a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

}  // namespace

ProfileFileStatus LoadProfileContainer(const char* path, WheelProfile& profile,
                                       std::size_t* fileSize) {
  // Looked at before opening: opening a FIFO for reading waits for a writer.
  struct stat named {};
  if (stat(path, &named) != 0) return ProfileFileStatus::kCannotOpen;
  if (!S_ISREG(named.st_mode)) return ProfileFileStatus::kNotRegularFile;
  const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return ProfileFileStatus::kCannotOpen;
  struct stat before {};
  if (fstat(fd, &before) != 0 || !S_ISREG(before.st_mode)) {
    close(fd);
    return ProfileFileStatus::kNotRegularFile;  // swapped for something else since
  }
  std::uint8_t bytes[kProfileFileSize] = {};
  const long got = ReadUpTo(fd, bytes, sizeof bytes);
  struct stat after {};
  const bool stated = fstat(fd, &after) == 0;
  close(fd);
  if (got < 0 || !stated) return ProfileFileStatus::kReadError;
  const auto expected =
      std::min<std::uint64_t>(static_cast<std::uint64_t>(before.st_size), kProfileFileSize);
  if (static_cast<std::uint64_t>(got) != expected || !SameFileState(before, after)) {
    return ProfileFileStatus::kChanged;
  }
  if (fileSize != nullptr) *fileSize = static_cast<std::size_t>(before.st_size);
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
