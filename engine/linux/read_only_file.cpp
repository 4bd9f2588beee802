#include "engine/read_only_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

ReadOnlyFile::~ReadOnlyFile() {
  if (handle_ >= 0) close(static_cast<int>(handle_));
}

bool ReadOnlyFile::Open(const char* path) {
  if (handle_ >= 0 || path == nullptr) return false;
  // O_NONBLOCK: opening a FIFO must not wait for a writer.
  const int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat status {};
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < 0) {
    close(fd);
    return false;
  }
  handle_ = fd;
  size_ = static_cast<std::uint64_t>(status.st_size);
  return true;
}

bool ReadOnlyFile::ReadAt(std::uint64_t offset, std::size_t length, unsigned char* out) const {
  if (handle_ < 0 || offset > size_ || length > size_ - offset) return false;
  while (length > 0) {
    const ssize_t got = pread(static_cast<int>(handle_), out, length, static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    out += got;
    offset += static_cast<std::uint64_t>(got);
    length -= static_cast<std::size_t>(got);
  }
  return true;
}
