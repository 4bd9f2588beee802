#include "device/profile_backups.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string_view>

#include "common/log.h"
#include "device/atomic_file.h"
#include "device/profile_backup_file.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kBackupSubfolder = "/corsaro270/backups";
constexpr const char* kBackupExtension = ".cs270set";
// The shape of a backup's name: '#' a decimal digit, 'x' a hexadecimal one.
constexpr std::string_view kNamePattern = "########T######.###Z-fwxxxx.cs270set";
// "20261209T043851.123Z": the part of a name that orders backups.
constexpr std::size_t kStampLength = 20;
constexpr std::size_t kVersionOffset = 23;

std::string folderOverride;

bool IsBackupName(const std::string& name) {
  if (name.size() != kNamePattern.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    const bool fits = kNamePattern[i] == '#'   ? std::isdigit(c) != 0
                      : kNamePattern[i] == 'x' ? std::isxdigit(c) != 0
                                               : name[i] == kNamePattern[i];
    if (!fits) return false;
  }
  return true;
}

// "2026-12-09 04:38:51 UTC" from a name's stamp.
std::string DateOf(const std::string& name) {
  return name.substr(0, 4) + "-" + name.substr(4, 2) + "-" + name.substr(6, 2) + " " +
         name.substr(9, 2) + ":" + name.substr(11, 2) + ":" + name.substr(13, 2) + " UTC";
}

// The stamp of `milliseconds` since the epoch.
std::string StampOf(long long milliseconds) {
  const std::time_t seconds = static_cast<std::time_t>(milliseconds / 1000);
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%dT%H%M%S", &utc);
  char stamp[40];
  std::snprintf(stamp, sizeof stamp, "%s.%03lldZ", text, milliseconds % 1000);
  return stamp;
}

long long NowMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// A name no existing backup has: two writes within one millisecond get consecutive stamps.
std::string NewBackupName(const std::vector<ProfileBackupEntry>& existing,
                          std::int32_t firmwareVersion) {
  long long milliseconds = NowMilliseconds();
  for (;;) {
    const std::string stamp = StampOf(milliseconds);
    const bool taken = std::any_of(existing.begin(), existing.end(), [&](const auto& entry) {
      return fs::path(entry.path).filename().string().compare(0, kStampLength, stamp) == 0;
    });
    if (!taken) {
      char suffix[24];
      std::snprintf(suffix, sizeof suffix, "-fw%04X",
                    static_cast<unsigned>(firmwareVersion) & 0xFFFF);
      return stamp + suffix + kBackupExtension;
    }
    ++milliseconds;
  }
}

bool MakeFolders(const std::string& folder, std::string& why) {
  std::error_code error;
  fs::create_directories(folder, error);
  if (error) {
    why = "cannot make the folder " + folder + ": " + error.message();
    return false;
  }
  return true;
}

// Deletes all but the newest kProfileBackupsKept backups. A backup that cannot be deleted is
// logged and left; it does not undo the new one.
void PruneProfileBackups(const std::string& folder) {
  const std::vector<ProfileBackupEntry> backups = ListProfileBackups(folder);
  for (std::size_t i = kProfileBackupsKept; i < backups.size(); ++i) {
    std::error_code error;
    if (!fs::remove(backups[i].path, error) && error) {
      Log("Could not delete the old profile backup %s: %s", backups[i].path.c_str(),
          error.message().c_str());
    }
  }
}

}  // namespace

std::string DefaultProfileBackupFolder() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data != nullptr && data[0] == '/') return std::string(data) + kBackupSubfolder;
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] == '\0') return "";
  return std::string(home) + "/.local/share" + kBackupSubfolder;
}

std::string VirtualReceiverBackupFolder() {
  const std::string folder = DefaultProfileBackupFolder();
  return folder.empty() ? folder : folder + "/virtual";
}

void SetProfileBackupFolder(const std::string& folder) {
  folderOverride = folder;
}

std::string ProfileBackupFolder() {
  return folderOverride.empty() ? DefaultProfileBackupFolder() : folderOverride;
}

std::vector<ProfileBackupEntry> ListProfileBackups(const std::string& folder) {
  std::vector<ProfileBackupEntry> backups;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (!IsBackupName(name)) continue;
    ProfileBackupEntry entry;
    entry.path = it->path().string();
    entry.date = DateOf(name);
    entry.firmwareVersion =
        static_cast<std::int32_t>(std::strtol(name.substr(kVersionOffset, 4).c_str(), nullptr, 16));
    backups.push_back(entry);
  }
  // The names begin with their stamps, so by name is by age.
  std::sort(backups.begin(), backups.end(),
            [](const auto& a, const auto& b) { return a.path > b.path; });
  return backups;
}

bool SaveProfileBackup(const WheelProfile (&records)[kProfileCount], std::int32_t firmwareVersion,
                       std::string& savedPath, std::string& why) {
  const std::string folder = ProfileBackupFolder();
  if (folder.empty()) {
    why = "neither XDG_DATA_HOME nor HOME says where to keep it";
    return false;
  }
  if (!MakeFolders(folder, why)) return false;
  const std::string path =
      folder + "/" + NewBackupName(ListProfileBackups(folder), firmwareVersion);
  if (!WriteProfileBackup(path, records, why)) return false;
  savedPath = path;
  // Each backup has a name of its own, so no later save of it would take a killed one's temporary.
  RemoveStaleTemporaries(folder, IsBackupName);
  PruneProfileBackups(folder);
  return true;
}
