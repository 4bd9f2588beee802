#include "engine/own_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

std::FILE* OpenOwnFileForWriting(const char* path, bool append) {
  if (path == nullptr) {
    errno = EINVAL;
    return nullptr;
  }
  // O_NONBLOCK: opening a FIFO must not wait for a reader.
  const int flags = O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
  const int fd = open(path, flags | (append ? O_APPEND : 0), 0666);
  if (fd < 0) return nullptr;
  struct stat status {};
  const bool own = fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
                   status.st_uid == geteuid() && status.st_nlink == 1;
  const bool ready = own && (append || ftruncate(fd, 0) == 0) &&
                     fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) == 0;
  std::FILE* file = ready ? fdopen(fd, append ? "a" : "w") : nullptr;
  if (file == nullptr) {
    const int failure = own ? errno : EPERM;
    close(fd);
    errno = failure;
  }
  return file;
}
