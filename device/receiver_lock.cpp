#include "device/receiver_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>

namespace {

constexpr auto kRetryInterval = std::chrono::milliseconds(20);
constexpr std::size_t kReadableNameLength = 40;

// A folder only this user can write, so nobody else can plant or hold our lock files.
bool IsPrivateFolder(const std::string& folder) {
  struct stat status {};
  return lstat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
         status.st_uid == getuid() && (status.st_mode & 022) == 0;
}

std::string RuntimeFolder(std::string& why) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] == '/' && IsPrivateFolder(runtime)) return runtime;
  const std::string fallback = "/tmp/corsaro270-" + std::to_string(getuid());
  if (mkdir(fallback.c_str(), 0700) != 0 && errno != EEXIST) {
    why = "cannot create the lock folder " + fallback + ": " + std::strerror(errno);
    return {};
  }
  if (!IsPrivateFolder(fallback)) {
    why = "the lock folder " + fallback + " is not this user's own";
    return {};
  }
  return fallback;
}

// 64-bit FNV-1a: tells identities apart in a short file name.
std::uint64_t Fingerprint(const std::string& text) {
  std::uint64_t hash = 0xCBF29CE484222325ull;
  for (unsigned char c : text) {
    hash ^= c;
    hash *= 0x100000001B3ull;
  }
  return hash;
}

// The identity's last part with only harmless characters, for a person reading the folder.
std::string ReadablePart(const std::string& identity) {
  const std::size_t slash = identity.rfind('/');
  std::string name = slash == std::string::npos ? identity : identity.substr(slash + 1);
  if (name.size() > kReadableNameLength) name.resize(kReadableNameLength);
  for (char& c : name) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '.' || c == '-' || c == '_';
    if (!plain) c = '_';
  }
  return name;
}

}  // namespace

std::string ReceiverIdentity(const std::string& path) {
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

std::string ReceiverLockPath(const std::string& identity, std::string& why) {
  const std::string folder = RuntimeFolder(why);
  if (folder.empty()) return {};
  char fingerprint[17];
  std::snprintf(fingerprint, sizeof fingerprint, "%016llx",
                static_cast<unsigned long long>(Fingerprint(identity)));
  return folder + "/corsaro270-" + ReadablePart(identity) + "-" + fingerprint + ".lock";
}

ReceiverLock::~ReceiverLock() {
  Release();
}

bool ReceiverLock::Acquire(const std::string& identity, int waitMs, std::string& why) {
  if (Held()) return true;
  const std::string path = ReceiverLockPath(identity, why);
  if (path.empty()) return false;
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) {
    why = "cannot open the lock file " + path + ": " + std::strerror(errno);
    return false;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
  for (;;) {
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
      fd_ = fd;
      return true;
    }
    if (errno != EWOULDBLOCK && errno != EINTR) {
      why = "cannot lock " + path + ": " + std::strerror(errno);
      break;
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      why = "another program is writing to this receiver; try again when it has finished";
      break;
    }
    std::this_thread::sleep_for(kRetryInterval);
  }
  close(fd);
  return false;
}

void ReceiverLock::Release() {
  if (fd_ < 0) return;
  flock(fd_, LOCK_UN);
  close(fd_);
  fd_ = -1;
}
