// The receiver lock on Linux: flock() on a file in the user's runtime folder.
#include "device/receiver_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "device/receiver_lock_folder.h"

namespace {

constexpr const char* kLockFolderName = "corsaro270/locks";
constexpr const char* kVirtualPrefix = "virtual:";

// A folder only this user can write, so nobody else can plant or hold our lock files.
bool IsPrivateFolder(const std::string& folder) {
  struct stat status {};
  return lstat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
         status.st_uid == getuid() && (status.st_mode & 022) == 0;
}

bool IsAbsolute(const char* path) {
  return path != nullptr && path[0] == '/';
}

// Makes `folder` and the folders above it that are missing, for this user only.
bool MakeFolders(const std::string& folder) {
  for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) return true;
  }
}

// The state folder's own lock folder: where the locks go when the folder under /tmp is taken by
// somebody else, who must not be able to stop this user's writes.
std::string StateLockFolder(std::string& why) {
  const char* state = std::getenv("XDG_STATE_HOME");
  const char* home = std::getenv("HOME");
  std::string base;
  if (IsAbsolute(state)) {
    base = state;
  } else if (IsAbsolute(home)) {
    base = std::string(home) + "/.local/state";
  } else {
    why += ", and neither XDG_STATE_HOME nor HOME is an absolute path";
    return {};
  }
  const std::string folder = base + "/" + kLockFolderName;
  if (MakeFolders(folder) && IsPrivateFolder(folder)) return folder;
  why += ", and " + folder + " cannot be made a folder of this user's own";
  return {};
}

std::string RuntimeFolder(std::string& why) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (IsAbsolute(runtime) && IsPrivateFolder(runtime)) return runtime;
  const std::string fallback = "/tmp/corsaro270-" + std::to_string(getuid());
  std::string problem;
  if (mkdir(fallback.c_str(), 0700) != 0 && errno != EEXIST) {
    problem = "cannot create the lock folder " + fallback + ": " + std::strerror(errno);
  } else if (!IsPrivateFolder(fallback)) {
    problem = "the lock folder " + fallback + " is not this user's own";
  } else {
    return fallback;
  }
  const std::string folder = StateLockFolder(problem);
  if (folder.empty()) why = problem;
  return folder;
}

}  // namespace

std::string ReceiverLockFolder(std::string& why) {
  return RuntimeFolder(why);
}

std::string ReceiverIdentity(const std::string& path) {
  // A virtual receiver is named after its flash file.
  if (path.rfind(kVirtualPrefix, 0) == 0) {
    return kVirtualPrefix + ReceiverIdentity(path.substr(std::strlen(kVirtualPrefix)));
  }
  std::unique_ptr<char, decltype(&std::free)> real(realpath(path.c_str(), nullptr), &std::free);
  if (real) return real.get();
  // A flash file yet to be made: its folder's canonical path and its name.
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  std::unique_ptr<char, decltype(&std::free)> realFolder(realpath(folder.c_str(), nullptr),
                                                         &std::free);
  if (realFolder) return std::string(realFolder.get()) + "/" + name;
  return path;
}

// Locks the file now at `path`. The file may be removed by the holder that lets go of it, so a
// lock on a file that is no longer at `path` is worth nothing and is let go at once.
ReceiverLock::Attempt ReceiverLock::TryLock(const std::string& path, std::string& why) {
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) {
    why = "cannot open the lock file " + path + ": " + std::strerror(errno);
    return Attempt::kFailed;
  }
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    close(fd);
    if (error == EWOULDBLOCK || error == EINTR) return Attempt::kBusy;
    why = "cannot lock " + path + ": " + std::strerror(error);
    return Attempt::kFailed;
  }
  struct stat held {};
  struct stat named {};
  if (fstat(fd, &held) == 0 && lstat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
      held.st_ino == named.st_ino) {
    handle_ = fd;
    path_ = path;
    return Attempt::kTaken;
  }
  close(fd);
  return Attempt::kBusy;
}

void ReceiverLock::Release() {
  if (handle_ < 0) return;
  // Removed while still held, so that no lock files pile up; a writer waiting on this file sees
  // it gone once it has the lock and takes a new one.
  unlink(path_.c_str());
  flock(static_cast<int>(handle_), LOCK_UN);
  close(static_cast<int>(handle_));
  handle_ = -1;
  path_.clear();
}
