#include "device/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

constexpr mode_t kDefaultUmask = 022;

// The process's umask, read without changing it (umask() would, for every thread at once).
mode_t CurrentUmask() {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  if (status == nullptr) return kDefaultUmask;
  char line[128];
  mode_t mask = kDefaultUmask;
  while (std::fgets(line, sizeof line, status) != nullptr) {
    unsigned value = 0;
    if (std::sscanf(line, "Umask: %o", &value) == 1) {
      mask = static_cast<mode_t>(value);
      break;
    }
  }
  std::fclose(status);
  return mask;
}

// The file a write to `path` should replace: the target of a symbolic link, else `path`.
std::string ResolveTarget(const std::string& path) {
  struct stat link {};
  if (lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
  std::unique_ptr<char, decltype(&std::free)> real(realpath(path.c_str(), nullptr), &std::free);
  return real ? std::string(real.get()) : path;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool WriteAll(int fd, const unsigned char* bytes, std::size_t size) {
  while (size > 0) {
    const ssize_t written = write(fd, bytes, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

// Makes the rename itself durable.
void SyncFolder(const std::string& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

std::string Reason(const char* what, const std::string& path, int number) {
  return std::string(what) + " " + path + ": " + std::strerror(number);
}

}  // namespace

bool WriteFileAtomically(const std::string& path, const void* bytes, std::size_t size,
                         std::string& why, unsigned newFileMode) {
  const std::string target = ResolveTarget(path);
  const std::string folder = FolderOf(target);
  std::string temporary = folder + "/." + NameOf(target) + ".XXXXXX";
  const int fd = mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) {
    why = Reason("cannot create a file in", folder, errno);
    return false;
  }
  struct stat existing {};
  const mode_t newMode =
      newFileMode != 0 ? static_cast<mode_t>(newFileMode) : (0666 & ~CurrentUmask());
  const mode_t mode = stat(target.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : newMode;
  bool done = WriteAll(fd, static_cast<const unsigned char*>(bytes), size) &&
              fchmod(fd, mode) == 0 && fsync(fd) == 0;
  int failure = errno;
  if (close(fd) != 0 && done) {
    done = false;
    failure = errno;
  }
  if (done && rename(temporary.c_str(), target.c_str()) != 0) {
    done = false;
    failure = errno;
  }
  if (!done) {
    unlink(temporary.c_str());
    why = Reason("cannot write", target, failure);
    return false;
  }
  SyncFolder(folder);
  return true;
}
