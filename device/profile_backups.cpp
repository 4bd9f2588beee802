#include "device/profile_backups.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <limits>
#include <string_view>

#include "common/fs_path.h"
#include "common/log.h"
#include "common/path_separator.h"
#include "device/atomic_file.h"
#include "device/backup_folder.h"
#include "device/profile_backup_file.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kBackupExtension = ".cs270set";
// The shape of a backup's name: '#' a decimal digit, 'x' a hexadecimal one.
constexpr std::string_view kNamePattern = "########T######.###Z-fwxxxx.cs270set";
// "20261209T043851.123Z": the part of a name that dates a backup.
constexpr std::size_t kStampLength = 20;
constexpr std::size_t kVersionOffset = 23;
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

// The calendar date and time of UTC, worked out here rather than by gmtime_r, which not every
// platform has.
std::tm UtcOf(long long milliseconds) {
  namespace chrono = std::chrono;
  const chrono::sys_time<chrono::milliseconds> time{chrono::milliseconds(milliseconds)};
  const chrono::sys_days day = chrono::floor<chrono::days>(time);
  const chrono::year_month_day date{day};
  const chrono::hh_mm_ss<chrono::seconds> clock{chrono::floor<chrono::seconds>(time - day)};
  std::tm utc{};
  utc.tm_year = static_cast<int>(date.year()) - 1900;
  utc.tm_mon = static_cast<int>(static_cast<unsigned>(date.month())) - 1;
  utc.tm_mday = static_cast<int>(static_cast<unsigned>(date.day()));
  utc.tm_hour = static_cast<int>(clock.hours().count());
  utc.tm_min = static_cast<int>(clock.minutes().count());
  utc.tm_sec = static_cast<int>(clock.seconds().count());
  utc.tm_wday = static_cast<int>(chrono::weekday{day}.c_encoding());
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
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

bool NameTaken(const std::string& folder, const std::vector<ProfileBackupEntry>& existing,
               const std::string& stamp) {
  const bool listed = std::any_of(existing.begin(), existing.end(), [&](const auto& entry) {
    return Utf8OfPath(PathOfUtf8(entry.path).filename()).compare(0, kStampLength, stamp) == 0;
  });
  if (listed) return true;
  // Whatever else sits under a name of that stamp, nothing is written through it.
  std::error_code error;
  for (fs::directory_iterator it(PathOfUtf8(folder), error), end; !error && it != end;
       it.increment(error)) {
    if (Utf8OfPath(it->path().filename()).compare(0, kStampLength, stamp) == 0) return true;
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

ProfileBackupEntry ReadEntry(const fs::path& path) {
  const std::string name = Utf8OfPath(path.filename());
  ProfileBackupEntry entry;
  entry.path = Utf8OfPath(path);
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
  return PathOfUtf8(a.path).filename() > PathOfUtf8(b.path).filename();
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
    if (!fs::remove(PathOfUtf8(entry.path), error) && error) {
      Log("Could not delete the old profile backup %s: %s", entry.path.c_str(),
          error.message().c_str());
    }
  }
}

}  // namespace

std::string VirtualReceiverBackupFolder() {
  const std::string folder = DefaultProfileBackupFolder();
  return folder.empty() ? folder : folder + kPathSeparator + "virtual";
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
  for (fs::directory_iterator it(PathOfUtf8(folder), error), end; !error && it != end;
       it.increment(error)) {
    if (IsBackupName(Utf8OfPath(it->path().filename()))) backups.push_back(ReadEntry(it->path()));
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
    why = kNoBackupFolderReason;
    return false;
  }
  if (!PreparePrivateFolder(folder, why)) return false;
  const std::vector<ProfileBackupEntry> existing = ListProfileBackups(folder);
  ProfileBackupOrigin origin;
  origin.madeMs = NowMilliseconds();
  origin.sequence = NextSequence(existing);
  origin.receiver = receiver;
  const std::string path =
      folder + kPathSeparator + NewBackupName(folder, existing, origin.madeMs, firmwareVersion);
  const std::vector<std::uint8_t> bytes = EncodeProfileBackup(records, origin);
  if (!WriteFileAtomically(path, bytes.data(), bytes.size(), why, kPrivateFile)) return false;
  savedPath = path;
  // Each backup has a name of its own, so no later save of it would take a killed one's temporary.
  RemoveStaleTemporaries(folder, IsBackupName);
  PruneProfileBackups(folder, receiver, path);
  return true;
}
