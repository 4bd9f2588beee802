#pragma once
// The automatic backups made before every write of the receiver's profile sector: one file of the
// three profiles (profile_backup_file.h) per write, named by its UTC date and time and the
// receiver's firmware version, e.g. "20261209T043851.123Z-fw0196.cs270set", so that names sort by
// age. The newest 50 are kept.

#include <cstdint>
#include <string>
#include <vector>

#include "profile/wheel_profile.h"

constexpr int kProfileBackupsKept = 50;

// The folder automatic backups go to: $XDG_DATA_HOME/corsaro270/backups, or
// ~/.local/share/corsaro270/backups when XDG_DATA_HOME is unset or not an absolute path. Empty
// when neither that nor HOME is known.
std::string DefaultProfileBackupFolder();

// Where programs on a virtual receiver keep their backups, apart from a real receiver's so that
// they are never restored onto one: the "virtual" folder inside the default folder.
std::string VirtualReceiverBackupFolder();

// Makes automatic backups go to `folder` from now on; empty means the default folder. Programs on
// a virtual receiver keep theirs apart, so that they are never restored onto a real one.
void SetProfileBackupFolder(const std::string& folder);

// The folder automatic backups go to now.
std::string ProfileBackupFolder();

// One automatic backup found in the folder.
struct ProfileBackupEntry {
  std::string path;
  std::string date;  // "2026-12-09 04:38:51 UTC"
  std::int32_t firmwareVersion = 0;
};

// The automatic backups in `folder`, newest first. Files whose names are not those of automatic
// backups are not listed (nor ever deleted).
std::vector<ProfileBackupEntry> ListProfileBackups(const std::string& folder);

// Saves `records`, read from a receiver running `firmwareVersion`, as a new automatic backup in
// ProfileBackupFolder() (made when missing), written atomically, then deletes all but the newest
// 50 backups there. `savedPath` receives the new file's path; on failure `why` says what went
// wrong and nothing is left behind.
bool SaveProfileBackup(const WheelProfile (&records)[kProfileCount], std::int32_t firmwareVersion,
                       std::string& savedPath, std::string& why);
