#include "device/profile_backups.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <limits>
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
// "20261209T043851.123Z": the part of a name that dates a backup.
constexpr std::size_t kStampLength = 20;
constexpr std::size_t kVersionOffset = 23;
constexpr mode_t kPrivateFolder = 0700;
constexpr unsigned kPrivateFile = 0600;

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
std::string DateOfName(const std::string& name) {
  return name.substr(0, 4) + "-" + name.substr(4, 2) + "-" + name.substr(6, 2) + " " +
         name.substr(9, 2) + ":" + name.substr(11, 2) + ":" + name.substr(13, 2) + " UTC";
}

std::tm UtcOf(long long milliseconds) {
  const long long seconds = milliseconds / 1000 - (milliseconds % 1000 < 0 ? 1 : 0);
  const auto time = static_cast<std::time_t>(seconds);
  std::tm utc{};
  gmtime_r(&time, &utc);
  return utc;
}

std::string DateOfTime(long long milliseconds) {
  const std::tm utc = UtcOf(milliseconds);
  char text[64];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &utc);
  return text;
}

// The stamp of `milliseconds` since the epoch.
std::string StampOf(long long milliseconds) {
  const std::tm utc = UtcOf(milliseconds);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%dT%H%M%S", &utc);
  char stamp[48];
  std::snprintf(stamp, sizeof stamp, "%s.%03lldZ", text, ((milliseconds % 1000) + 1000) % 1000);
  return stamp;
}

long long NowMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

bool NameTaken(const std::string& folder, const std::vector<ProfileBackupEntry>& existing,
               const std::string& stamp) {
  const bool listed = std::any_of(existing.begin(), existing.end(), [&](const auto& entry) {
    return fs::path(entry.path).filename().string().compare(0, kStampLength, stamp) == 0;
  });
  if (listed) return true;
  // Whatever else sits under a name of that stamp, nothing is written through it.
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (it->path().filename().string().compare(0, kStampLength, stamp) == 0) return true;
  }
  return false;
}

// A name nothing in the folder has: two writes within one millisecond get consecutive stamps.
std::string NewBackupName(const std::string& folder,
                          const std::vector<ProfileBackupEntry>& existing, long long milliseconds,
                          std::int32_t firmwareVersion) {
  while (NameTaken(folder, existing, StampOf(milliseconds))) ++milliseconds;
  char suffix[24];
  std::snprintf(suffix, sizeof suffix, "-fw%04X", static_cast<unsigned>(firmwareVersion) & 0xFFFF);
  return StampOf(milliseconds) + suffix + kBackupExtension;
}

// Makes the folder and the missing ones above it for this user alone, whatever the umask.
bool MakeFolders(const std::string& folder, std::string& why) {
  for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (mkdir(part.c_str(), kPrivateFolder) == 0) {
      chmod(part.c_str(), kPrivateFolder);
    } else if (errno != EEXIST) {
      why = "cannot make the folder " + part + ": " + std::strerror(errno);
      return false;
    }
    if (slash == std::string::npos) return true;
  }
}

// The backups folder must be the user's own and closed to others: anyone who may write it could
// swap the files in it between a check and a read.
bool PrepareFolder(const std::string& folder, std::string& why) {
  if (!MakeFolders(folder, why)) return false;
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  struct stat status {};
  if (fd < 0 || fstat(fd, &status) != 0) {
    why = "cannot use the folder " + folder + ": " + std::strerror(errno);
    if (fd >= 0) close(fd);
    return false;
  }
  bool usable = true;
  if (status.st_uid != geteuid()) {
    why = "the folder " + folder + " belongs to another user";
    usable = false;
  } else if ((status.st_mode & 077) != 0) {
    usable = fchmod(fd, kPrivateFolder) == 0;
    if (usable) {
      Log("Closed the backup folder %s to other users", folder.c_str());
    } else {
      why = "cannot close the folder " + folder + " to other users: " + std::strerror(errno);
    }
  }
  close(fd);
  return usable;
}

ProfileBackupEntry ReadEntry(const fs::path& path) {
  const std::string name = path.filename().string();
  ProfileBackupEntry entry;
  entry.path = path.string();
  entry.date = DateOfName(name);
  entry.firmwareVersion =
      static_cast<std::int32_t>(std::strtol(name.substr(kVersionOffset, 4).c_str(), nullptr, 16));
  WheelProfile records[kProfileCount];
  ProfileBackupOrigin origin;
  std::string why;
  bool refused = false;
  if (!ReadOwnProfileBackup(entry.path, records, origin, entry.recorded, refused, why)) {
    entry.state =
        refused ? ProfileBackupEntry::State::kRefused : ProfileBackupEntry::State::kDamaged;
    entry.problem = why;
    entry.recorded = false;
    return entry;
  }
  if (entry.recorded) {
    entry.date = DateOfTime(origin.madeMs);
    entry.sequence = origin.sequence;
    entry.receiver = origin.receiver;
  }
  return entry;
}

// Newest first: by sequence, and older backups that carry none below all that do, by name.
bool Newer(const ProfileBackupEntry& a, const ProfileBackupEntry& b) {
  if (a.recorded != b.recorded) return a.recorded;
  if (a.recorded && a.sequence != b.sequence) return a.sequence > b.sequence;
  return fs::path(a.path).filename() > fs::path(b.path).filename();
}

std::uint64_t NextSequence(const std::vector<ProfileBackupEntry>& backups) {
  std::uint64_t highest = 0;
  for (const ProfileBackupEntry& entry : backups) {
    if (entry.state == ProfileBackupEntry::State::kSound && entry.recorded) {
      highest = std::max(highest, entry.sequence);
    }
  }
  return highest == std::numeric_limits<std::uint64_t>::max() ? highest : highest + 1;
}

// Deletes all but the newest kProfileBackupsKept backups of `receiver`, never `kept` (the one just
// made) and never a file the user does not own. A backup that cannot be deleted is logged and
// left; it does not undo the new one.
void PruneProfileBackups(const std::string& folder, const std::string& receiver,
                         const std::string& kept) {
  int count = 1;  // the one just made
  for (const ProfileBackupEntry& entry : ListProfileBackups(folder)) {
    if (entry.state == ProfileBackupEntry::State::kRefused || entry.receiver != receiver ||
        entry.path == kept || ++count <= kProfileBackupsKept) {
      continue;
    }
    std::error_code error;
    if (!fs::remove(entry.path, error) && error) {
      Log("Could not delete the old profile backup %s: %s", entry.path.c_str(),
          error.message().c_str());
    }
  }
}

}  // namespace

std::string DefaultProfileBackupFolder() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data != nullptr && data[0] == '/') return std::string(data) + kBackupSubfolder;
  // A relative HOME would put the backups wherever the program happens to run.
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] != '/') return "";
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
    if (IsBackupName(it->path().filename().string())) backups.push_back(ReadEntry(it->path()));
  }
  std::sort(backups.begin(), backups.end(), Newer);
  return backups;
}

const ProfileBackupEntry* LatestBackupOf(const std::vector<ProfileBackupEntry>& backups,
                                         const std::string& receiver) {
  if (receiver.empty()) return nullptr;
  for (const ProfileBackupEntry& entry : backups) {
    if (entry.state == ProfileBackupEntry::State::kSound && entry.receiver == receiver) {
      return &entry;
    }
  }
  return nullptr;
}

bool SaveProfileBackup(const WheelProfile (&records)[kProfileCount], std::int32_t firmwareVersion,
                       const std::string& receiver, std::string& savedPath, std::string& why) {
  const std::string folder = ProfileBackupFolder();
  if (folder.empty()) {
    why = "neither XDG_DATA_HOME nor HOME names an absolute folder to keep it in";
    return false;
  }
  if (!PrepareFolder(folder, why)) return false;
  const std::vector<ProfileBackupEntry> existing = ListProfileBackups(folder);
  ProfileBackupOrigin origin;
  origin.madeMs = NowMilliseconds();
  origin.sequence = NextSequence(existing);
  origin.receiver = receiver;
  const std::string path =
      folder + "/" + NewBackupName(folder, existing, origin.madeMs, firmwareVersion);
  const std::vector<std::uint8_t> bytes = EncodeProfileBackup(records, origin);
  if (!WriteFileAtomically(path, bytes.data(), bytes.size(), why, kPrivateFile)) return false;
  savedPath = path;
  // Each backup has a name of its own, so no later save of it would take a killed one's temporary.
  RemoveStaleTemporaries(folder, IsBackupName);
  PruneProfileBackups(folder, receiver, path);
  return true;
}
