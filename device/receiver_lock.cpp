#include "device/receiver_lock.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <thread>

#include "common/path_separator.h"
#include "device/receiver_lock_folder.h"

namespace {

constexpr auto kRetryInterval = std::chrono::milliseconds(20);
constexpr std::size_t kReadableNameLength = 40;

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

std::string ReceiverLockPath(const std::string& identity, std::string& why) {
  const std::string folder = ReceiverLockFolder(why);
  if (folder.empty()) return {};
  char fingerprint[17];
  std::snprintf(fingerprint, sizeof fingerprint, "%016llx",
                static_cast<unsigned long long>(Fingerprint(identity)));
  return folder + kPathSeparator + "corsaro270-" + ReadablePart(identity) + "-" + fingerprint +
         ".lock";
}

ReceiverLock::~ReceiverLock() {
  Release();
}

bool ReceiverLock::Acquire(const std::string& identity, int waitMs, std::string& why) {
  if (Held()) return true;
  const std::string path = ReceiverLockPath(identity, why);
  if (path.empty()) return false;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
  for (;;) {
    switch (TryLock(path, why)) {
      case Attempt::kTaken:
        return true;
      case Attempt::kFailed:
        return false;
      case Attempt::kBusy:
        break;
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      why = "another program is writing to this receiver; try again when it has finished";
      return false;
    }
    std::this_thread::sleep_for(kRetryInterval);
  }
}
