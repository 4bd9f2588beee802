#include "device/profile_backup_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/read_up_to.h"
#include "device/atomic_file.h"

void EncodeProfileBackup(const WheelProfile (&records)[kProfileCount], std::uint8_t* bytes) {
  for (int i = 0; i < kProfileCount; ++i) {
    ProfileFile container{};
    EncodeProfileFile(records[i], container);
    std::memcpy(bytes + i * kProfileFileSize, container.bytes, kProfileFileSize);
  }
}

bool DecodeProfileBackup(const std::uint8_t* bytes, std::size_t size,
                         WheelProfile (&records)[kProfileCount], std::string& why) {
  if (size != kProfileBackupSize) {
    why = "a backup of the three profiles is 348 bytes long, this is " + std::to_string(size);
    return false;
  }
  WheelProfile checked[kProfileCount];
  for (int i = 0; i < kProfileCount; ++i) {
    const ProfileFileStatus status =
        CheckProfileBytes(bytes + i * kProfileFileSize, kProfileFileSize, checked[i]);
    if (status != ProfileFileStatus::kOk) {
      why = "profile " + std::to_string(i + 1) + ": " + ProfileFileStatusText(status);
      return false;
    }
  }
  for (int i = 0; i < kProfileCount; ++i) records[i] = checked[i];
  return true;
}

bool ReadProfileBackup(const std::string& path, WheelProfile (&records)[kProfileCount],
                       std::string& why) {
  // Looked at before opening: opening a FIFO for reading waits for a writer.
  struct stat named {};
  if (stat(path.c_str(), &named) != 0) {
    why = std::string("cannot open it: ") + std::strerror(errno);
    return false;
  }
  if (!S_ISREG(named.st_mode)) {
    why = "not a regular file";
    return false;
  }
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    why = std::string("cannot open it: ") + std::strerror(errno);
    return false;
  }
  // One byte more than a backup holds, so that a longer file shows as such.
  std::uint8_t bytes[kProfileBackupSize + 1];
  const long got = ReadUpTo(fd, bytes, sizeof bytes);
  close(fd);
  if (got < 0) {
    why = "cannot read it";
    return false;
  }
  if (static_cast<std::size_t>(got) > kProfileBackupSize) {
    why = "a backup of the three profiles is 348 bytes long, this is longer";
    return false;
  }
  return DecodeProfileBackup(bytes, static_cast<std::size_t>(got), records, why);
}

bool WriteProfileBackup(const std::string& path, const WheelProfile (&records)[kProfileCount],
                        std::string& why) {
  std::uint8_t bytes[kProfileBackupSize];
  EncodeProfileBackup(records, bytes);
  return WriteFileAtomically(path, bytes, sizeof bytes, why);
}
