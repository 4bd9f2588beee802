#include "engine/log_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace {

// Opens the log, which must be a plain file: a link put in its place is not followed, and a FIFO
// or a device is neither waited on nor written.
std::FILE* OpenLog(const char* path, int how) {
  const int fd = open(path, O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | how, 0666);
  if (fd < 0) return nullptr;
  struct stat status {};
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    close(fd);
    return nullptr;
  }
  std::FILE* file = fdopen(fd, "a");
  if (file == nullptr) close(fd);
  return file;
}

}  // namespace

bool LogFile::SetPath(const char* fullPath) {
  path_[0] = '\0';
  if (fullPath == nullptr || fullPath[0] == '\0') return false;
  if (std::strlen(fullPath) >= sizeof path_) return false;
  std::FILE* file = OpenLog(fullPath, O_TRUNC);
  if (file == nullptr) return false;
  std::fclose(file);
  std::strcpy(path_, fullPath);
  return true;
}

const char* LogFile::Path() const {
  return path_[0] != '\0' ? path_ : nullptr;
}

void LogFile::Write(const char* format, std::va_list args) const {
  if (path_[0] == '\0') return;
  std::FILE* file = OpenLog(path_, O_APPEND);
  if (file == nullptr) return;
  std::vfprintf(file, format, args);
  std::fputc('\n', file);
  std::fclose(file);
}
