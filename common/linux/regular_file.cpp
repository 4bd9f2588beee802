#include "common/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/linux/read_up_to.h"

PathKind LookAtPath(const std::string& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0)
    return errno == ENOENT ? PathKind::kMissing : PathKind::kUnknown;
  return S_ISREG(status.st_mode) ? PathKind::kRegularFile : PathKind::kOther;
}

RegularFile::~RegularFile() {
  Close();
}

RegularFile::OpenResult RegularFile::Open(const std::string& path, bool followLinks,
                                          std::string& why) {
  Close();
  struct stat named {};
  const int looked = followLinks ? stat(path.c_str(), &named) : lstat(path.c_str(), &named);
  if (looked != 0) {
    why = std::strerror(errno);
    return OpenResult::kCannotOpen;
  }
  if (S_ISLNK(named.st_mode)) return OpenResult::kLink;
  if (!S_ISREG(named.st_mode)) return OpenResult::kNotRegular;
  const int fd = open(
      path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (followLinks ? 0 : O_NOFOLLOW));
  if (fd < 0) {
    why = std::strerror(errno);
    return OpenResult::kCannotOpen;
  }
  struct stat opened {};
  if (fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
    close(fd);
    return OpenResult::kNotRegular;  // swapped for something else since
  }
  handle_ = fd;
  return OpenResult::kOpened;
}

bool RegularFile::Look(Facts& facts) const {
  struct stat status {};
  if (handle_ < 0 || fstat(static_cast<int>(handle_), &status) != 0) return false;
  facts.size = static_cast<std::uint64_t>(status.st_size);
  facts.modifiedNs =
      static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
  facts.ownedByUser = status.st_uid == geteuid();
  facts.othersMayWrite = (status.st_mode & (S_IWGRP | S_IWOTH)) != 0;
  return true;
}

long RegularFile::Read(std::uint8_t* bytes, std::size_t size) {
  return handle_ < 0 ? -1 : ReadUpTo(static_cast<int>(handle_), bytes, size);
}

void RegularFile::Close() {
  if (handle_ >= 0) close(static_cast<int>(handle_));
  handle_ = -1;
}
